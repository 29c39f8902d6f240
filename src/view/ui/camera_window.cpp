#include "view/ui/camera_window.h"

#include "view/ui/scene_widget.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace mw {

CameraWindow::CameraWindow(const State& state, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle("Form8");
    setObjectName("Form8");
    setAttribute(Qt::WA_DeleteOnClose);
    picture_ = new CameraWidget(state, view_);
    picture_->setObjectName("cameraPicture");

    auto* frame3 = new QGroupBox("Frame3");
    frame3->setObjectName("Frame3");
    auto* camera = new QLabel("Camera");
    camera->setObjectName("Label2");
    (new QVBoxLayout(frame3))->addWidget(camera);

    auto* frame2 = new QGroupBox("Frame2");
    frame2->setObjectName("Frame2");
    auto* draw = new QPushButton("Command1");
    draw->setObjectName("Command1");
    draw->setAccessibleName("Command1");
    (new QVBoxLayout(frame2))->addWidget(draw);
    connect(draw, &QPushButton::clicked, picture_, &CameraWidget::drawPicture);
    connect(picture_, &CameraWidget::glFailed, this, [this] {
        emit glFailed();
        QTimer::singleShot(0, this, &QWidget::close);
    });

    auto* frame1 = new QGroupBox("Left");
    frame1->setObjectName("Frame1");
    auto* front = new QLabel("Front");
    front->setObjectName("Label1");
    (new QVBoxLayout(frame1))->addWidget(front);

    auto* side = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{frame3, frame2, frame1})
        side->addWidget(w);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture_);
    layout->addLayout(side);
}

} // namespace mw
