// The scaling window.
#include "app/scaling_options.h"

#include "app/settings.h"
#include "app/widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace mw {

namespace {

// The caption "Scale to:                      %" with the box sitting in its gap.
QGroupBox* scaleFrame(const char* frameName, const QString& title, QLineEdit* box, const char* boxName)
{
    auto* frame = named(new QGroupBox(title), frameName, title);
    const QString caption = QStringLiteral("Scale to:                      %");
    auto* label = new QLabel(caption, frame);
    named(box, boxName, title);
    box->setParent(label);
    const QFontMetrics metrics(label->font());
    const int left = metrics.horizontalAdvance(QStringLiteral("Scale to: "));
    const int width = metrics.horizontalAdvance(caption) - metrics.horizontalAdvance(QStringLiteral("%")) - left - 4;
    box->setGeometry(left, 0, width, box->sizeHint().height());
    label->setMinimumHeight(box->sizeHint().height());
    label->setBuddy(box);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label);
    return frame;
}

} // namespace

ScalingOptions::ScalingOptions(QWidget* parent)
    : QWidget(parent, Qt::Window), txtScaleToObj_(new QLineEdit), txtScaleFromObj_(new QLineEdit)
{
    setObjectName(QStringLiteral("frmScale"));
    setWindowTitle(tr("Scaling Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    txtScaleToObj_->setText(readScaleText(kScaleToObj));
    txtScaleFromObj_->setText(readScaleText(kScaleFromObj));

    auto* apply = named(new QPushButton(tr("Apply")), "Command1", tr("Apply"));
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, &ScalingOptions::apply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scaleFrame("Frame1", tr("Converting to OBJ"), txtScaleToObj_, "txtScaleToObj"));
    layout->addWidget(scaleFrame("Frame2", tr("Converting OBJ to GMDC"), txtScaleFromObj_, "txtScaleFromObj"));
    layout->addWidget(apply, 0, Qt::AlignRight);
    // Return applies, Escape hides without storing, as in a dialog.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, &ScalingOptions::apply);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::hide);
    setTabOrder(txtScaleToObj_, txtScaleFromObj_);
    setTabOrder(txtScaleFromObj_, apply);
}

void ScalingOptions::apply()
{
    writeScaleText(kScaleToObj, txtScaleToObj_->text());
    writeScaleText(kScaleFromObj, txtScaleFromObj_->text());
    hide();
}

} // namespace mw
