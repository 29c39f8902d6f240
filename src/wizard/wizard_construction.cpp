#include "wizard/wizard_construction.h"

#include "core/program_folder.h"
#include "core/save_file.h"

namespace mw {

namespace {

struct ListKind {
    std::uint32_t identity;
    std::int32_t repetition;
    std::int32_t blockFormat;
    std::int32_t setFormat;
};

// The 8 base lists every new GMDC starts with, created without values.
constexpr ListKind kBaseLists[8] = {
    {kIdentityPositions, 0, 2, 3},      {kIdentityNormals, 0, 2, 1},        {kIdentityTexCoords, 0, 1, 2},
    {kIdentityTexCoords, 1, 1, 2},      {kIdentityTexCoords, 2, 1, 2},      {kIdentityTexCoords, 3, 1, 2},
    {kIdentityTexCoordDeltas, 0, 4, 2}, {kIdentityTexCoordDeltas, 1, 4, 2},
};

// The three lists of each object: positions, normals, texture coordinates.
constexpr ListKind kObjectLists[3] = {
    {kIdentityPositions, 0, 2, 3},
    {kIdentityNormals, 0, 2, 1},
    {kIdentityTexCoords, 0, 1, 2},
};

DataList make_list(const ListKind& kind)
{
    DataList list;
    list.identity = kind.identity;
    list.repetition = kind.repetition;
    list.blockFormat = kind.blockFormat;
    list.setFormat = kind.setFormat;
    return list;
}

// Object k's lists are 3k + 6 to 3k + 8 counted from 1, so its group names them by the
// 0-based numbers 3k + 5 to 3k + 7 (8, 9, 10 for the first object).
ObjectGroup make_object_group(int k)
{
    ObjectGroup group;
    for (int i = 0; i < 3; ++i)
        group.dataListIndices.push_back(static_cast<std::int16_t>(3 * k + 5 + i));
    group.activeCount = 3;
    return group;
}

GmdcObject make_object(int k)
{
    GmdcObject object;
    object.primitiveType = 2;
    object.objectGroupIndex = k - 1;
    object.opacity = -1;
    return object;
}

const MeshModel& model_at(const ModelSet& models, int k)
{
    return models.models[static_cast<std::size_t>(k - 1)];
}

DataList& list_at(GmdcFile& gmdc, int number)
{
    return gmdc.dataLists[static_cast<std::size_t>(number - 1)];
}

std::string model_label(const ModelSet& models, int k)
{
    return "Model " + std::to_string(k) + " (\"" + model_at(models, k).name + "\")";
}

} // namespace

void buildSkeleton(GmdcFile& gmdc)
{
    gmdc.header = {1, 0xFFFF, 0, 1, 0xAC4F8687};
    gmdc.resource.blockName = kGmdcBlockName;
    gmdc.resource.blockId = 0xAC4F8687;
    gmdc.resource.blockVersion = 4;
    gmdc.resource.resourceName = "cSGResource";
    gmdc.resource.resourceId = 0;
    gmdc.resource.resourceVersion = 2;
    gmdc.resource.fileName = "Custom_object";
    gmdc.dataLists.clear();
    for (const ListKind& kind : kBaseLists)
        gmdc.dataLists.push_back(make_list(kind));
    gmdc.objectGroups = {make_object_group(1)};
    gmdc.objects = {make_object(1)};
    gmdc.p5Entries.clear();
}

void addObjectLists(GmdcFile& gmdc, int n)
{
    gmdc.dataLists.resize(static_cast<std::size_t>(3 * n + 8));
    for (int k = 1; k <= n; ++k)
        for (int i = 0; i < 3; ++i)
            list_at(gmdc, 3 * k + 6 + i) = make_list(kObjectLists[i]);
    if (n >= 2) {
        gmdc.objectGroups.resize(static_cast<std::size_t>(n));
        gmdc.objects.resize(static_cast<std::size_t>(n));
        for (int k = 2; k <= n; ++k) {
            gmdc.objectGroups[static_cast<std::size_t>(k - 1)] = make_object_group(k);
            gmdc.objects[static_cast<std::size_t>(k - 1)] = make_object(k);
        }
    }
}

bool buildShapeArea(GmdcFile& gmdc, const ModelSet& models, std::string& error)
{
    ClickableArea area;
    std::int64_t base = 0;
    for (int m = 1; m <= models.modelCount(); ++m) {
        const MeshModel& model = model_at(models, m);
        for (const Vec3f& p : model.vertices)
            area.vertices.insert(area.vertices.end(), {p.x, p.y, p.z});
        for (const MeshFace& face : model.faces) {
            for (std::int32_t vertex : {face.vertex1, face.vertex2, face.vertex3}) {
                const std::int64_t index = vertex - 1 + base;
                if (index > 32767) {
                    error = "The clickable area shaped like the objects would need face index " +
                            std::to_string(index) + " (" + model_label(models, m) +
                            "), but the area's face indices stop at 32767. Use the default area instead.";
                    return false;
                }
                area.faces.push_back(static_cast<std::int16_t>(index));
            }
        }
        base += model.vertexCount();
    }
    gmdc.boundingVertices = std::move(area.vertices);
    gmdc.boundingFaces = std::move(area.faces);
    return true;
}

bool loadDefaultArea(GmdcFile& gmdc, const std::string& path, std::string& error)
{
    std::string bytes;
    std::string readError;
    if (!read_whole_file(path, bytes, readError)) {
        error = "The default clickable area cannot be read: " + readError;
        return false;
    }
    ClickableArea area;
    if (!parseDefaultArea(bytes, area, error, path))
        return false;
    gmdc.boundingVertices = std::move(area.vertices);
    gmdc.boundingFaces = std::move(area.faces);
    return true;
}

void copyObjectGeometry(GmdcFile& gmdc, const ModelSet& models, int k, int v, int n, int t)
{
    const MeshModel& model = model_at(models, k);
    const auto count = static_cast<std::size_t>(model.vertexCount());
    DataList& positions = list_at(gmdc, v);
    DataList& normals = list_at(gmdc, n);
    DataList& uvs = list_at(gmdc, t);
    for (DataList* list : {&positions, &normals, &uvs}) {
        list->recordCount = model.vertexCount();
        list->floatValues.clear();
    }
    positions.floatValues.reserve(3 * count);
    normals.floatValues.reserve(3 * count);
    uvs.floatValues.reserve(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3f& p = model.vertices[i];
        const Vec3f& q = model.normals[i];
        const Vec2f& c = model.uvs[i];
        positions.floatValues.insert(positions.floatValues.end(), {p.x, p.y, p.z});
        normals.floatValues.insert(normals.floatValues.end(), {q.x, q.y, q.z});
        uvs.floatValues.insert(uvs.floatValues.end(), {c.u, c.v});
    }
}

void copyObjectFaces(GmdcFile& gmdc, const ModelSet& models, int k, int j)
{
    const MeshModel& model = model_at(models, k);
    GmdcObject& object = gmdc.objects[static_cast<std::size_t>(j - 1)];
    object.faces.clear();
    object.faces.reserve(3 * model.faces.size());
    for (const MeshFace& face : model.faces)
        for (std::int32_t vertex : {face.vertex1, face.vertex2, face.vertex3})
            object.faces.push_back(static_cast<std::int16_t>(vertex - 1));
}

bool checkModelsForNewObject(const ModelSet& models, std::string& error)
{
    const int n = models.modelCount();
    if (n < 1 || n > kWizardMaxObjects) {
        error = "The OBJ file holds " + std::to_string(n) + " objects; a new object is built from 1 to " +
                std::to_string(kWizardMaxObjects) + ".";
        return false;
    }
    for (int k = 1; k <= n; ++k) {
        const MeshModel& model = model_at(models, k);
        const std::string label = model_label(models, k);
        if (model.name.size() > 255) {
            error = "The name of model " + std::to_string(k) + " is " + std::to_string(model.name.size()) +
                    " characters long; a GMDC object name holds at most 255.";
            return false;
        }
        if (model.vertexCount() > 32767) {
            error = label + " has " + std::to_string(model.vertexCount()) +
                    " vertices; an object's 16-bit face indices reach at most 32767.";
            return false;
        }
        if (model.normalCount() < model.vertexCount() || model.uvCount() < model.vertexCount()) {
            error = label + " has " + std::to_string(model.vertexCount()) + " vertices but " +
                    std::to_string(model.normalCount()) + " normals and " + std::to_string(model.uvCount()) +
                    " texture coordinates; every vertex needs a normal and a texture coordinate.";
            return false;
        }
        for (std::size_t f = 0; f < model.faces.size(); ++f) {
            const MeshFace& face = model.faces[f];
            for (std::int32_t vertex : {face.vertex1, face.vertex2, face.vertex3}) {
                if (vertex < 1 || vertex > model.vertexCount()) {
                    error = "Face " + std::to_string(f + 1) + " of " + label + " names vertex " +
                            std::to_string(vertex) + ", outside its " + std::to_string(model.vertexCount()) +
                            " vertices.";
                    return false;
                }
            }
        }
    }
    return true;
}

bool build_new_object(State& state, const WizardOptions& options, MessageSink& sink)
{
    const ModelSet& models = state.models;
    std::string error;
    if (!checkModelsForNewObject(models, error)) {
        sink.error(error);
        return false;
    }
    const int n = models.modelCount();
    // Built aside and moved in at the end, so a refusal leaves the current GMDC untouched.
    GmdcFile gmdc;
    buildSkeleton(gmdc);
    addObjectLists(gmdc, n);
    const std::string areaFile =
        options.areaFile.empty() ? join_path(program_folder(), kDefaultAreaFileName) : options.areaFile;
    const bool areaOk =
        options.shapeArea ? buildShapeArea(gmdc, models, error) : loadDefaultArea(gmdc, areaFile, error);
    if (!areaOk) {
        sink.error(error);
        return false;
    }
    for (int k = 1; k <= n; ++k) {
        copyObjectGeometry(gmdc, models, k, 3 * k + 6, 3 * k + 7, 3 * k + 8);
        copyObjectFaces(gmdc, models, k, k);
        gmdc.objectGroups[static_cast<std::size_t>(k - 1)].vertexCount = list_at(gmdc, 3 * k + 6).recordCount;
        gmdc.objects[static_cast<std::size_t>(k - 1)].name = model_at(models, k).name;
    }
    state.gmdc = std::move(gmdc);
    return true;
}

} // namespace mw
