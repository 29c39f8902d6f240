// The camera window "Form8": imported model 1 drawn unturned into a fixed rectangle each
// time its button is pressed. It owns its own OpenGL context.
#pragma once

#include "state/state.h"
#include "view/view_state.h"

#include <QWidget>

namespace mw {

class CameraWidget;

class CameraWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CameraWindow(const State& state, QWidget* parent = nullptr);

  signals:
    // No usable OpenGL: this window closes; the owner shows the message.
    void glFailed();

  private:
    ViewState view_; // camera_model stays 1
    CameraWidget* picture_ = nullptr;
};

} // namespace mw
