// The group editor.
#include "app/group_editor.h"

#include "app/document.h"
#include "app/widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace mw {

bool opacityFromText(const QString& text, int& opacity)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) {
        opacity = 0;
        return true;
    }
    const double rounded = std::nearbyint(value); // the default rounding: halves to even
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        return false;
    opacity = static_cast<int>(rounded);
    return true;
}

GroupEditor::GroupEditor(Document& document, QWidget* parent)
    : QDialog(parent), document_(document), list1_(new QListWidget), txtName_(new QLineEdit), txtOpacity_(new QLineEdit)
{
    setObjectName(QStringLiteral("frmGroupEditor"));
    setWindowTitle(tr("Group Editor & Settings"));
    setModal(true);

    const char* names[5] = {"Check1", "Check2", "Check3", "Check4", "Check5"};
    const QString captions[5] = {tr("Import Vertices"), tr("Import UVs"), tr("Import Polygons"), tr("Import Normals"),
                                 tr("Overwrite names")};
    auto* options = named(new QGroupBox(tr("Importing Options")), "Frame1", tr("Importing Options"));
    auto* optionsLayout = new QVBoxLayout(options);
    for (int i = 0; i < 5; ++i) {
        check_[i] = named(new QCheckBox(captions[i]), names[i], captions[i]);
        check_[i]->setChecked(i < 4);
        optionsLayout->addWidget(check_[i]);
    }
    check_[4]->setToolTip(tr("Names are changed with \"commit\" below."));

    named(list1_, "List1", tr("Objects"));
    for (const GmdcObject& object : document.state().gmdc.objects)
        list1_->addItem(QString::fromLatin1(object.name));
    named(txtName_, "txtName", tr("Model name:"));
    named(txtOpacity_, "txtOpacity", tr("Opacity:"));
    auto* commitButton = named(new QPushButton(tr("commit")), "Command1", tr("commit"));
    auto* closeButton = named(new QPushButton(tr("Close")), "Command2", tr("Close"));
    closeButton->setDefault(true);

    auto* properties = named(new QGroupBox(tr("Properties")), "Frame2", tr("Properties"));
    auto* form = new QFormLayout;
    form->addRow(tr("Model name:"), txtName_);
    form->addRow(tr("Opacity:"), txtOpacity_);
    auto* propertiesLayout = new QVBoxLayout(properties);
    propertiesLayout->addWidget(list1_);
    propertiesLayout->addLayout(form);
    propertiesLayout->addWidget(commitButton, 0, Qt::AlignRight);

    auto* top = new QHBoxLayout;
    top->addWidget(options);
    top->addWidget(properties, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(closeButton, 0, Qt::AlignRight);

    connect(list1_, &QListWidget::currentRowChanged, this, &GroupEditor::showSelected);
    connect(commitButton, &QPushButton::clicked, this, &GroupEditor::commit);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept); // hides
}

ImportOptions GroupEditor::importOptions() const
{
    ImportOptions o;
    o.importVertices = check_[0]->isChecked();
    o.importUVs = check_[1]->isChecked();
    o.importPolygons = check_[2]->isChecked();
    o.importNormals = check_[3]->isChecked();
    return o;
}

void GroupEditor::done(int result)
{
    inDone_ = true;
    QDialog::done(result);
    inDone_ = false;
}

void GroupEditor::closeEvent(QCloseEvent* event)
{
    // Closed from the frame: the next use makes the window afresh.
    QDialog::closeEvent(event);
    if (!inDone_)
        deleteLater();
}

void GroupEditor::showSelected()
{
    const int row = list1_->currentRow();
    const auto& objects = document_.state().gmdc.objects;
    if (row < 0 || static_cast<std::size_t>(row) >= objects.size())
        return;
    txtName_->setText(QString::fromLatin1(objects[static_cast<std::size_t>(row)].name));
    txtOpacity_->setText(QString::number(objects[static_cast<std::size_t>(row)].opacity));
}

void GroupEditor::commit()
{
    const int row = list1_->currentRow();
    if (row < 0) {
        document_.note(tr("Select an object in the list first."));
        return;
    }
    const QByteArray name = txtName_->text().toLatin1();
    if (name.size() > 255) {
        document_.report(MessageKind::Error,
                         tr("A name can hold at most 255 characters; this one has %1.").arg(name.size()));
        return;
    }
    int opacity = 0;
    if (!opacityFromText(txtOpacity_->text(), opacity)) {
        document_.report(MessageKind::Error,
                         tr("The opacity %1 does not fit a 32-bit number.").arg(txtOpacity_->text()));
        return;
    }
    const auto index = static_cast<std::size_t>(row);
    const bool ok = document_.applyEdit(tr("Change object %1").arg(row + 1), [&](State& state, MessageSink& sink) {
        if (index >= state.gmdc.objects.size()) {
            sink.error("The GMDC holds no object " + std::to_string(row + 1) + " any more.");
            return false;
        }
        state.gmdc.objects[index].name = name.toStdString();
        state.gmdc.objects[index].opacity = opacity;
        return true;
    });
    if (ok)
        list1_->item(row)->setText(QString::fromLatin1(name));
}

} // namespace mw
