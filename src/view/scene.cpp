#include "view/scene.h"

#include "view/triangle_pick.h"

#include <GL/gl.h>

#include <algorithm>
#include <type_traits>

namespace mw {

namespace {

static_assert(sizeof(Vec3f) == 3 * sizeof(float) && std::is_standard_layout_v<Vec3f>);

// One list of triangles: x y z per vertex, optional u v and normals, three corners each.
struct Triangles {
    const float* positions = nullptr;
    const float* texCoords = nullptr;
    const float* normals = nullptr;
    const std::vector<std::uint32_t>* corners = nullptr;
};

void emit(const Triangles& t, bool fast)
{
    const std::vector<std::uint32_t>& corners = *t.corners;
    if (corners.empty())
        return;
    if (fast) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, t.positions);
        if (t.texCoords) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, 0, t.texCoords);
        }
        if (t.normals) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, 0, t.normals);
        }
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(corners.size()), GL_UNSIGNED_INT, corners.data());
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        return;
    }
    glBegin(GL_TRIANGLES);
    for (std::uint32_t v : corners) {
        if (t.normals)
            glNormal3fv(t.normals + 3 * static_cast<std::size_t>(v));
        if (t.texCoords)
            glTexCoord2fv(t.texCoords + 2 * static_cast<std::size_t>(v));
        glVertex3fv(t.positions + 3 * static_cast<std::size_t>(v));
    }
    glEnd();
}

// The triangles, then (with "Wireframe") their edges in green over them.
void draw(const Triangles& t, const DisplayOptions& options)
{
    emit(t, options.fastPath);
    if (!options.wireframe)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0.3f, 1.0f, 0.3f);
    emit({t.positions, nullptr, nullptr, t.corners}, options.fastPath);
    glPopAttrib();
}

void draw_model(const MeshModel& model, std::int32_t number, const DisplayOptions& options, SceneCache& cache)
{
    const ModelArrays& a = cache.arrays(model, number);
    const bool normals = options.shaded && model.normals.size() >= model.vertices.size();
    draw({reinterpret_cast<const float*>(model.vertices.data()), a.uvs.data(),
          normals ? reinterpret_cast<const float*>(model.normals.data()) : nullptr, &a.corners},
         options);
}

const MeshModel* model_at(const ModelSet& models, std::int32_t model)
{
    if (model < 1 || model > models.modelCount())
        return nullptr;
    return &models.models[static_cast<std::size_t>(model - 1)];
}

} // namespace

const ModelArrays& SceneCache::arrays(const MeshModel& model, std::int32_t number)
{
    const auto slot = static_cast<std::size_t>(std::max(number, 1) - 1);
    if (slot >= models_.size())
        models_.resize(slot + 1);
    ModelArrays& a = models_[slot];
    if (!a.built || a.vertexCount != model.vertices.size() || a.faceCount != model.faces.size()) {
        a.corners = model_corners(model);
        a.uvs.assign(2 * model.vertices.size(), 0.0f); // 0 where the model has none
        for (std::size_t i = 0; i < std::min(model.uvs.size(), model.vertices.size()); ++i) {
            a.uvs[2 * i] = model.uvs[i].u;
            a.uvs[2 * i + 1] = -model.uvs[i].v;
        }
        a.vertexCount = model.vertices.size();
        a.faceCount = model.faces.size();
        a.built = true;
    }
    return a;
}

void display_screen(const State& state, const ViewState& view, const DisplayOptions& options,
                    const TextureTable& textures, SceneCache& cache)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
    if (options.shaded) {
        // A light at the eye: directional along the view axis, set in eye coordinates.
        const GLfloat towardsViewer[4] = {0, 0, 1, 0};
        glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_NORMALIZE);
    }
    glTranslatef(0, 0, view.camera_distance);
    glRotatef(static_cast<float>(view.rot_x), 1, 0, 0);
    glRotatef(static_cast<float>(view.rot_y), 0, 1, 0);
    glRotatef(static_cast<float>(view.rot_z), 0, 0, 1);
    if (view.center_x != 0 || view.center_y != 0 || view.center_z != 0)
        glTranslatef(-view.center_x, -view.center_y, -view.center_z);
    if (options.gmdcView) {
        display_gmdc_obj(state.gmdc, view, options);
    } else if (options.testArray) {
        draw_test(view);
    } else if (!options.allObjects) {
        glBindTexture(GL_TEXTURE_2D, textures.model_texture(view.current_model));
        display_object(state.models, view.current_model, options, cache);
    } else {
        display_objects(state.models, textures, options, cache);
    }
    glPopAttrib();
}

void display_gmdc_obj(const GmdcFile& gmdc, const ViewState& view, const DisplayOptions& options)
{
    const GmdcPick pick = pick_gmdc_triangles(gmdc, view.selected_object, view.selected_subgroup, options.bodyEditing,
                                              options.allSubgroups);
    if (pick.corners.empty())
        return;
    // No texture coordinates are given, so no texture: the picture never depends on
    // whatever was drawn before.
    glBindTexture(GL_TEXTURE_2D, 0);
    const bool normals =
        options.shaded && pick.normals && pick.normals->floatValues.size() >= pick.positions->floatValues.size();
    draw({pick.positions->floatValues.data(), nullptr, normals ? pick.normals->floatValues.data() : nullptr,
          &pick.corners},
         options);
}

void draw_test(const ViewState& view)
{
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, view.view_distance);
    glRotatef(static_cast<float>(view.rot_x), 1, 0, 0);
    glRotatef(static_cast<float>(view.rot_y), 0, 1, 0);
    glRotatef(static_cast<float>(view.rot_z), 0, 0, 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    const std::size_t k = test_point_count(view);
    glBegin(GL_POINTS);
    for (std::size_t i = 0; i < k; ++i)
        glVertex3fv(&view.test_points[3 * i]);
    glEnd();
}

void display_object(const ModelSet& models, std::int32_t model, const DisplayOptions& options, SceneCache& cache)
{
    if (const MeshModel* m = model_at(models, model))
        draw_model(*m, model, options, cache);
}

void display_objects(const ModelSet& models, const TextureTable& textures, const DisplayOptions& options,
                     SceneCache& cache)
{
    for (std::int32_t i = 1; i <= models.modelCount(); ++i) {
        glBindTexture(GL_TEXTURE_2D, textures.model_texture(i));
        draw_model(models.models[static_cast<std::size_t>(i - 1)], i, options, cache);
    }
}

void draw_pic1(const ModelSet& models, const ViewState& view, const DisplayOptions& options, SceneCache& cache)
{
    glViewport(10, 210, 360, 460);
    resize_gl_scene(350, 250);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, kFixedCameraDistance);
    glBindTexture(GL_TEXTURE_2D, 0); // the camera window builds no textures
    display_object(models, view.camera_model, options, cache);
}

Bounds shown_bounds(const State& state, const ViewState& view, const DisplayOptions& options)
{
    if (options.gmdcView)
        return pick_bounds(pick_gmdc_triangles(state.gmdc, view.selected_object, view.selected_subgroup,
                                               options.bodyEditing, options.allSubgroups));
    Bounds b;
    if (options.testArray)
        return b;
    for (std::int32_t i = 1; i <= state.models.modelCount(); ++i) {
        if (!options.allObjects && i != view.current_model)
            continue;
        const MeshModel& m = state.models.models[static_cast<std::size_t>(i - 1)];
        for (std::uint32_t v : model_corners(m))
            b.add(m.vertices[v].x, m.vertices[v].y, m.vertices[v].z);
    }
    return b;
}

std::string empty_view_reason(const State& state, const ViewState& view, const DisplayOptions& options)
{
    if (options.gmdcView)
        return pick_gmdc_triangles(state.gmdc, view.selected_object, view.selected_subgroup, options.bodyEditing,
                                   options.allSubgroups)
            .whyEmpty;
    if (options.testArray)
        return test_point_count(view) == 0 ? "the test cloud holds no point" : "";
    if (state.models.modelCount() < 1)
        return "no model is loaded";
    if (!options.allObjects) {
        const MeshModel* m = model_at(state.models, view.current_model);
        if (!m)
            return "there is no model " + std::to_string(view.current_model) + " (the mesh holds " +
                   std::to_string(state.models.modelCount()) + ")";
        return model_corners(*m).empty() ? "model \"" + m->name + "\" has no face" : "";
    }
    for (const MeshModel& m : state.models.models)
        if (!model_corners(m).empty())
            return "";
    return "no model has a face";
}

} // namespace mw
