// The new object wizard window.
#include "wizard/ui/wizard_window.h"

#include "app/document.h"
#include "app/tool_windows.h"
#include "app/widgets.h"
#include "wizard/shape_writer.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mw {

namespace {

QLabel* wrapped(const QString& text, const char* name)
{
    auto* label = named(new QLabel(text), name, text);
    label->setWordWrap(true);
    return label;
}

QPushButton* linkButton(const QString& caption, const char* name)
{
    // The wizard's clickable labels, as flat buttons so the keyboard reaches them.
    auto* button = named(new QPushButton(caption), name, caption);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

WizardWindow::WizardWindow(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document), text1_(new QLineEdit), text2_(new QLineEdit),
      text3_(new QLineEdit)
{
    setObjectName(QStringLiteral("frmWizard"));
    setWindowTitle(tr("Simple object import"));
    setAttribute(Qt::WA_DeleteOnClose);

    // Page 1: the OBJ file.
    pages_[0] = named(new QFrame, "Frame1", tr("Select the OBJ file"));
    auto* page1 = new QVBoxLayout(pages_[0]);
    page1->addWidget(wrapped(tr("Please Select the .OBJ file you wish to import. Then press next"), "Label1"));
    named(text1_, "Text1", tr("OBJ file"));
    auto* browse = linkButton(tr("   BROWSE"), "Label11");
    auto* row = new QHBoxLayout;
    row->addWidget(text1_, 1);
    row->addWidget(browse);
    page1->addLayout(row);
    page1->addStretch(1);
    connect(browse, &QPushButton::clicked, this, &WizardWindow::browseObj);

    // Page 2: what was read, the template and the clickable area.
    pages_[1] = named(new QFrame, "Frame3", tr("Objects and clickable area"));
    auto* page2 = new QGridLayout(pages_[1]);
    named(text2_, "Text2", tr("Number of objects in the loaded .OBJ file:"));
    text2_->setReadOnly(true);
    named(text3_, "Text3", tr("Template gmdc file:"));
    auto* command4 = named(new QPushButton(tr("Browse")), "Command4", tr("Browse"));
    connect(command4, &QPushButton::clicked, this, &WizardWindow::browseTemplate);
    check2_ = named(new QCheckBox(tr("If you want to the wizard to create a area based on the shape of the actual "
                                     "object, check this box.")),
                    "Check2", tr("Create the clickable area from the object's shape"));
    check3_ =
        named(new QCheckBox(tr("Check to view the objects in 3D")), "Check3", tr("Check to view the objects in 3D"));
    if (!hasToolWindow(ToolWindow::View3D)) {
        check3_->setEnabled(false);
        check3_->setToolTip(missingToolWindowTip(ToolWindow::View3D));
    }
    page2->addWidget(named(new QLabel(tr("Number of objects in the loaded .OBJ file:")), "Label3",
                           tr("Number of objects in the loaded .OBJ file:")),
                     0, 0);
    page2->addWidget(text2_, 0, 1, 1, 2);
    page2->addWidget(wrapped(tr("Template gmdc file:"), "Label4"), 1, 0);
    page2->addWidget(text3_, 1, 1);
    page2->addWidget(command4, 1, 2);
    page2->addWidget(wrapped(tr("Please select the type of clickable area you want for this object."), "Label2"), 2, 0,
                     1, 3);
    page2->addWidget(check2_, 3, 0, 1, 3);
    page2->addWidget(wrapped(tr("The default is a large bounding box. "), "Label12"), 4, 0, 1, 3);
    page2->addWidget(check3_, 5, 0, 1, 3);
    page2->setColumnStretch(1, 1);

    // Page 3: the names of the shape's parts and the shape itself.
    pages_[2] = named(new QFrame, "Frame4", tr("Convert"));
    auto* page3 = new QGridLayout(pages_[2]);
    page3->addWidget(wrapped(tr("Your obj file is about to be converted. Please click on next and then enter the "
                                "filename you wish the new GMDC file to be saved as."),
                             "Label5"),
                     0, 0, 1, 2);
    const char* labelNames[3] = {"Label6", "Label7", "Label8"};
    const char* boxNames[3] = {"Text4", "Text5", "Text6"};
    for (int k = 0; k < 3; ++k) {
        const QString caption = tr("MODEL %1:").arg(k + 1);
        modelNames_[k] = named(new QLineEdit(QStringLiteral("Model_%1").arg(k + 1)), boxNames[k], caption);
        page3->addWidget(named(new QLabel(caption), labelNames[k], caption), k + 1, 0);
        page3->addWidget(modelNames_[k], k + 1, 1);
    }
    check1_ = named(new QCheckBox(tr("Create SHPE and GMND files")), "Check1", tr("Create SHPE and GMND files"));
    page3->addWidget(check1_, 4, 0, 1, 2);

    auto* nextButton = linkButton(tr("      NEXT"), "Label10");
    auto* cancelButton = linkButton(tr("      CANCEL"), "Label9");
    connect(nextButton, &QPushButton::clicked, this, &WizardWindow::next);
    connect(cancelButton, &QPushButton::clicked, this, &WizardWindow::cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(nextButton);

    auto* layout = new QVBoxLayout(this);
    for (QFrame* page : pages_)
        layout->addWidget(page);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumSize(660, 360);

    templatePath_ = templateName(1);
    text3_->setText(templatePath_);
    showPage(1);
}

int WizardWindow::page() const
{
    for (int i = 0; i < 3; ++i)
        if (!pages_[i]->isHidden())
            return i + 1;
    return 0;
}

QString WizardWindow::templateName(int objects) const
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Template_gmdc_%1.simpe").arg(objects));
}

void WizardWindow::showPage(int page)
{
    for (int i = 0; i < 3; ++i) {
        pages_[i]->setVisible(i + 1 == page);
        pages_[i]->setEnabled(i + 1 == page);
    }
    if (page == 1)
        step_ = 1;
}

void WizardWindow::browseObj()
{
    const QString path =
        document_.dialogs().openFile(this, tr("Simple object import"), QStringLiteral("Obj File|*.obj"));
    if (!path.isEmpty()) {
        objPath_ = path;
        text1_->setText(path);
    }
}

void WizardWindow::browseTemplate()
{
    const QString path =
        document_.dialogs().openFile(this, tr("Template gmdc file:"), QStringLiteral("GMDC FILE|*.Simpe"));
    if (!path.isEmpty()) {
        templatePath_ = path;
        text3_->setText(path);
    }
}

void WizardWindow::cancel()
{
    showPage(1);
}

void WizardWindow::next()
{
    if (step_ >= 4)
        return; // nothing until "      CANCEL" returns to page 1
    ++step_;
    if (step_ == 2) {
        readObjects();
    } else if (step_ == 3) {
        if (check3_->isChecked())
            openToolWindow(ToolWindow::View3D, document_, parentWidget());
        showPage(3);
    } else {
        convert();
    }
}

void WizardWindow::readObjects()
{
    objPath_ = text1_->text();
    if (!objPath_.isEmpty()) {
        if (QFileInfo(objPath_).suffix().compare(QLatin1String("obj"), Qt::CaseInsensitive) != 0) {
            document_.report(MessageKind::Error, tr("\"%1\" is not an OBJ file.").arg(objPath_), objPath_);
            showPage(1);
            return;
        }
        // The read replaces the records: a new object built before and not saved is asked about.
        if (!document_.maybeSave(this) || !document_.loadMesh(objPath_)) {
            showPage(1);
            return;
        }
    }
    objects_ = document_.state().models.modelCount();
    text2_->setText(QStringLiteral(" %1").arg(objects_));
    if (objects_ >= 1 && objects_ <= 3) {
        templatePath_ = templateName(objects_);
        text3_->setText(templatePath_);
    }
    showPage(2);
}

void WizardWindow::convert()
{
    templatePath_ = text3_->text();
    if (templatePath_.isEmpty() || objects_ <= 0) {
        document_.note(tr("There are no objects to convert: choose an OBJ file on the first page."));
        step_ = 3;
        return;
    }
    // The shape's part names: the MODEL boxes for up to three objects, else the objects' names.
    std::vector<std::string> names;
    const auto& models = document_.state().models.models;
    for (std::size_t k = 0; k < models.size(); ++k)
        names.push_back(models.size() <= 3 ? modelNames_[k]->text().toLatin1().toStdString() : models[k].name);
    ShpeFile shape;
    initShape(shape);
    setShapeParts(shape, names);
    std::string bytes;
    std::string error;
    if (check1_->isChecked() && !serializeShape(shape, bytes, error)) {
        document_.report(MessageKind::Error, QString::fromStdString(error));
        step_ = 3;
        return;
    }

    WizardOptions options;
    options.shapeArea = check2_->isChecked();
    if (!document_.buildNewObject(options)) {
        showPage(1);
        return;
    }
    const QString path = document_.dialogs().saveFile(
        this, tr("Simple object import"), QStringLiteral("Sims 2 mesh (*.simpe)|*.simpe|Sims2 mesh (*.5gd)|*.5gd"));
    if (path.isEmpty()) {
        document_.note(tr("Nothing was saved: the save dialog was cancelled."));
        showPage(1);
        return;
    }
    if (document_.saveGmdc(path) && check1_->isChecked()) {
        const QString initial = QFileInfo(path).dir().filePath(QLatin1String(kShapeFileName));
        const QString shapePath = document_.dialogs().saveFile(
            this, tr("Save the shape resource"), QStringLiteral("Shape resource (*.simpe)|*.simpe"), initial);
        if (shapePath.isEmpty()) {
            document_.note(tr("The shape resource was not saved: the save dialog was cancelled."));
        } else {
            RecordingSink sink;
            if (writeShape(shape, shapePath.toStdString(), sink))
                document_.note(tr("Wrote the shape resource %1").arg(shapePath));
            for (const auto& e : sink.entries)
                document_.report(e.kind, QString::fromStdString(e.text), shapePath);
        }
    }
    showPage(1);
}

} // namespace mw
