#include "smd_export/ui/export_smd_dialog.h"

#include "smd_export/smd_writer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mw {

namespace {

template <typename W> W* named(W* widget, const char* objectName, const QString& caption)
{
    widget->setObjectName(objectName);
    widget->setAccessibleName(caption);
    return widget;
}

} // namespace

ExportSmdDialog::ExportSmdDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Export SMD");
    setModal(false);
    multiple_ = named(new QRadioButton("SMD file with multiple bones per vertice"), "Option1",
                      "SMD file with multiple bones per vertice");
    single_ = named(new QRadioButton("SMD file with single bone per vertice"), "Option2",
                    "SMD file with single bone per vertice");
    multiple_->setChecked(true);
    auto* ok = named(new QPushButton("Export"), "OKButton", "Export");
    auto* cancel = named(new QPushButton("Cancel"), "CancelButton", "Cancel");
    ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(multiple_);
    layout->addWidget(single_);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        hide();
        emit exportRequested(mode());
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, &ExportSmdDialog::cancelled);
}

std::int16_t ExportSmdDialog::mode() const
{
    return multiple_->isChecked() ? kSmdMultipleBones : kSmdSingleBone;
}

} // namespace mw
