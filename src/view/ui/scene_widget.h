// The 3D view's drawing surface: a QOpenGLWidget with a compatibility context (the
// drawing uses OpenGL 1.1 calls) that draws the scene whenever Qt asks it to paint.
// The left button turns the scene, the wheel moves the camera.
#pragma once

#include "state/state.h"
#include "view/gl_setup.h"
#include "view/scene.h"
#include "view/view_state.h"

#include <QOpenGLWidget>
#include <QPoint>

#include <functional>

namespace mw {

class SceneWidget : public QOpenGLWidget {
    Q_OBJECT
  public:
    // `state` and `view` outlive the widget; `options` is asked at every paint, so the
    // check boxes are read at the moment of use.
    SceneWidget(const State& state, ViewState& view, std::function<DisplayOptions()> options,
                QWidget* parent = nullptr);
    ~SceneWidget() override;

    // Rebuilds this context's textures from the models' materials; relative texture
    // names are looked for in `meshFolder` first.
    void reloadTextures(const QString& meshFolder);
    // The records changed: the drawing arrays are built afresh, then the scene redrawn.
    void recordsChanged();
    // True once OpenGL started; false after a failed start.
    bool glUsable() const { return usable_; }
    // Tests: every widget shown from now on counts as having no context, as when Qt cannot
    // create one (then initializeGL never runs).
    static void simulateContextFailure(bool on);

  signals:
    // The scene was turned or the camera moved by the mouse.
    void viewChanged();
    // No usable OpenGL context could be had.
    void glFailed();

  protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    const State& state_;
    ViewState& view_;
    std::function<DisplayOptions()> options_;
    TextureTable textures_;
    SceneCache cache_;
    QString meshFolder_;
    QPoint lastPos_;
    bool usable_ = false;
    bool failed_ = false;
    void fail();
};

// The camera window's surface: model view.camera_model in its fixed rectangle, drawn once
// its button was pressed, and again whenever Qt asks it to paint. No textures.
class CameraWidget : public QOpenGLWidget {
    Q_OBJECT
  public:
    CameraWidget(const State& state, ViewState& view, QWidget* parent = nullptr);
    void drawPicture();

  signals:
    // No usable OpenGL context could be had.
    void glFailed();

  protected:
    void initializeGL() override;
    void paintGL() override;
    void showEvent(QShowEvent* event) override;

  private:
    void fail();
    bool failed_ = false;
    const State& state_;
    ViewState& view_;
    SceneCache cache_;
    bool drawn_ = false;
};

// The surface format both views ask for: a compatibility profile (never core), double
// buffered, 24 colour and 16 depth bits.
QSurfaceFormat legacy_gl_format();

} // namespace mw
