#include "view/ui/scene_widget.h"

#include "view/scene.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTimer>
#include <QWheelEvent>

#include <GL/gl.h>

#include <algorithm>

namespace mw {

QSurfaceFormat legacy_gl_format()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(16);
    return format;
}

namespace {

// A context the fixed-function calls work in: desktop OpenGL, not a core profile.
bool legacy_calls_work(const QOpenGLContext* context)
{
    return context && context->isValid() && !context->isOpenGLES() &&
           context->format().profile() != QSurfaceFormat::CoreProfile;
}

bool contextFailureSimulated = false;

// Qt creates a widget's context when the widget is first shown with a size; when that
// fails, initializeGL never runs and nothing else would tell. Calls `fail` then.
template <typename Fail> void check_context_after_show(QOpenGLWidget* widget, Fail fail)
{
    QTimer::singleShot(0, widget, [widget, fail] {
        if (widget->isVisible() && (!widget->isValid() || contextFailureSimulated))
            fail();
    });
}

} // namespace

void SceneWidget::simulateContextFailure(bool on)
{
    contextFailureSimulated = on;
}

SceneWidget::SceneWidget(const State& state, ViewState& view, std::function<DisplayOptions()> options, QWidget* parent)
    : QOpenGLWidget(parent), state_(state), view_(view), options_(std::move(options))
{
    setFormat(legacy_gl_format());
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
}

SceneWidget::~SceneWidget()
{
    if (!usable_)
        return;
    makeCurrent();
    textures_.release();
    doneCurrent();
}

void SceneWidget::reloadTextures(const QString& meshFolder)
{
    meshFolder_ = meshFolder;
    if (!usable_)
        return; // initializeGL builds them
    makeCurrent();
    textures_.load(state_.models, meshFolder_.toStdString(), QCoreApplication::applicationDirPath().toStdString());
    doneCurrent();
    update();
}

void SceneWidget::recordsChanged()
{
    cache_.invalidate();
    update();
}

void SceneWidget::initializeGL()
{
    usable_ = legacy_calls_work(context());
    if (!usable_) {
        fail();
        return;
    }
    textures_.load(state_.models, meshFolder_.toStdString(), QCoreApplication::applicationDirPath().toStdString());
    set_render_state();
}

void SceneWidget::showEvent(QShowEvent* event)
{
    QOpenGLWidget::showEvent(event);
    check_context_after_show(this, [this] { fail(); });
}

void SceneWidget::fail()
{
    usable_ = false;
    if (!failed_)
        emit glFailed();
    failed_ = true;
}

void SceneWidget::resizeGL(int width, int height)
{
    if (usable_)
        resize_gl_scene(width, height);
}

void SceneWidget::paintGL()
{
    if (usable_)
        display_screen(state_, view_, options_(), textures_, cache_);
}

void SceneWidget::mousePressEvent(QMouseEvent* event)
{
    lastPos_ = event->position().toPoint();
}

void SceneWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint d = pos - lastPos_;
    lastPos_ = pos;
    view_.rot_y += d.x() / 2;
    view_.rot_x += d.y() / 2;
    if (d.x() / 2 != 0 || d.y() / 2 != 0) {
        emit viewChanged();
        update();
    } else {
        lastPos_ -= QPoint(d.x() % 2, d.y() % 2); // keep odd pixels for the next move
    }
}

void SceneWidget::wheelEvent(QWheelEvent* event)
{
    const float notches = static_cast<float>(event->angleDelta().y()) / 120.0f;
    view_.camera_distance = std::clamp(view_.camera_distance + 0.25f * notches, -90.0f, -0.2f);
    emit viewChanged();
    update();
}

CameraWidget::CameraWidget(const State& state, ViewState& view, QWidget* parent)
    : QOpenGLWidget(parent), state_(state), view_(view)
{
    setFormat(legacy_gl_format());
    // The picture lands 10 pixels from the left, 210 from the bottom, 360 x 460 pixels.
    setFixedSize(380, 680);
}

void CameraWidget::drawPicture()
{
    drawn_ = true;
    cache_.invalidate(); // the button draws the records as they stand
    update();
}

void CameraWidget::showEvent(QShowEvent* event)
{
    QOpenGLWidget::showEvent(event);
    check_context_after_show(this, [this] { fail(); });
}

void CameraWidget::fail()
{
    if (!failed_)
        emit glFailed();
    failed_ = true;
}

void CameraWidget::initializeGL()
{
    if (!legacy_calls_work(context())) {
        fail();
        return;
    }
    resize_gl_scene(width(), height());
    set_render_state();
}

void CameraWidget::paintGL()
{
    if (!legacy_calls_work(context()))
        return;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (drawn_)
        draw_pic1(state_.models, view_, DisplayOptions{}, cache_);
}

} // namespace mw
