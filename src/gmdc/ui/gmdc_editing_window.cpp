// The GMDC editing windows.
#include "gmdc/ui/gmdc_editing_window.h"

#include "app/document.h"
#include "app/tool_windows.h"
#include "app/widgets.h"
#include "core/program_folder.h"
#include "core/save_file.h"
#include "gmdc/gmdc_edits.h"
#include "gmdc/side_files.h"
#include "wizard/default_area.h"
#include "wizard/wizard_construction.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mw {
namespace {

constexpr char kSideFileFilter[] = "Sims 2 Mesh (*.simpe)|*.simpe";

QLineEdit* box(const char* objectName, const QString& caption, bool readOnly = false)
{
    auto* edit = named(new QLineEdit, objectName, caption);
    edit->setReadOnly(readOnly);
    return edit;
}

QPushButton* button(const char* objectName, const QString& caption)
{
    return named(new QPushButton(caption), objectName, caption);
}

// Refills `list` with `prefix` + 1..count, keeping the current row and the selection.
void fillNumbered(QListWidget* list, const QString& prefix, std::size_t count)
{
    const int current = list->currentRow();
    QList<int> selected;
    for (const QListWidgetItem* item : list->selectedItems())
        selected.append(list->row(item));
    const QSignalBlocker blocker(list);
    list->clear();
    for (std::size_t i = 1; i <= count; ++i)
        list->addItem(prefix + QString::number(i));
    if (current < list->count())
        list->setCurrentRow(current, QItemSelectionModel::NoUpdate);
    for (int row : selected)
        if (row < list->count())
            list->item(row)->setSelected(true);
}

// The row of `list`'s current item when it is selected, else -1.
int selectedRow(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

QGroupBox* frame(const char* objectName, const QString& caption)
{
    return named(new QGroupBox(caption), objectName, caption);
}

} // namespace

GmdcEditingWindow::GmdcEditingWindow(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document),
      areaFile_(QString::fromStdString(join_path(program_folder(), kDefaultAreaFileName))),
      list1_(named(new QListWidget, "List1", tr("Data Lists:"))),
      list2_(named(new QListWidget, "List2", tr("Obj Groups:"))),
      list3_(named(new QListWidget, "List3", tr("Objects:"))), text1_(box("Text1", tr("Vertices:"))),
      text2_(box("Text2", tr("Name:"), true)), text9_(box("Text9", tr("Opacity"))),
      identity_(box("txtIdentity", tr("Identity:"), true)), records_(box("txtRecords", tr("Number of Records:"), true)),
      dataLength_(box("txtDataLength", tr("Data Length:"), true)), items_(box("txtItems", tr("Int array:"), true)),
      dataListCount_(box("txtDataListCount", tr("Number of Datalists:"), true)),
      groupUsed_(box("txtGroupUsed", tr("Obj group used:"), true)),
      faceCount_(box("txtFaceCount", tr("Number of Faces:"), true))
{
    setObjectName(QStringLiteral("frmGmdcEditing"));
    setWindowTitle(QStringLiteral("GMDC EDITING"));
    list1_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* part1 = frame("Frame1", tr("Part 1"));
    auto* part1Form = new QFormLayout;
    part1Form->addRow(tr("Identity:"), identity_);
    part1Form->addRow(tr("Number of Records:"), records_);
    part1Form->addRow(tr("Data Length:"), dataLength_);
    part1Form->addRow(tr("Int array:"), items_);
    part1Form->addRow(tr("Number of Datalists:"), dataListCount_);
    auto* replace = button("Command7", tr("Replace"));
    auto* clear = button("Command4", tr("Clear datalist"));
    auto* saveDataList = button("cmdSaveDatalist", tr("Save Datalist"));
    auto* part1Buttons = new QHBoxLayout;
    for (QPushButton* b : {replace, clear, saveDataList})
        part1Buttons->addWidget(b);
    auto* part1Layout = new QVBoxLayout(part1);
    part1Layout->addWidget(new QLabel(tr("Data Lists:")));
    part1Layout->addWidget(list1_);
    part1Layout->addLayout(part1Form);
    part1Layout->addLayout(part1Buttons);

    auto* part2 = frame("Frame2", tr("Part 2"));
    auto* part2Layout = new QVBoxLayout(part2);
    part2Layout->addWidget(new QLabel(tr("Obj Groups:")));
    part2Layout->addWidget(list2_);
    auto* part2Form = new QFormLayout;
    part2Form->addRow(tr("Vertices:"), text1_);
    part2Layout->addLayout(part2Form);

    auto* part3 = frame("Frame3", tr("Part 3"));
    auto* part3Layout = new QVBoxLayout(part3);
    part3Layout->addWidget(new QLabel(tr("Objects:")));
    part3Layout->addWidget(list3_);
    auto* part3Form = new QFormLayout;
    part3Form->addRow(tr("Name:"), text2_);
    part3Form->addRow(tr("Opacity"), text9_);
    part3Form->addRow(tr("Obj group used:"), groupUsed_);
    part3Form->addRow(tr("Number of Faces:"), faceCount_);
    part3Layout->addLayout(part3Form);
    auto* replaceFacesButton = button("Command1", tr("Replace Faces"));
    auto* saveFacesButton = button("cmdSaveFaces", tr("Save Faces"));
    auto* part3Buttons = new QHBoxLayout;
    part3Buttons->addWidget(replaceFacesButton);
    part3Buttons->addWidget(saveFacesButton);
    part3Layout->addLayout(part3Buttons);

    auto* controls = frame("Frame4", tr("Controls"));
    auto* savP4 = button("Command10", tr("Save P4"));
    auto* saveP5 = button("Command9", tr("Save p5"));
    auto* removeP5Button = button("Command8", QStringLiteral("Remove P5 "));
    auto* controlsLayout = new QVBoxLayout(controls);
    for (QPushButton* b : {savP4, saveP5, removeP5Button})
        controlsLayout->addWidget(b);
    controlsLayout->addStretch();

    auto* saveGmdcButton = button("Command2", tr("Save Gmdc"));
    auto* p4Edit = button("Command3", tr("P4 Edit"));
    auto* top = new QHBoxLayout;
    top->addWidget(saveGmdcButton);
    top->addWidget(p4Edit);
    top->addStretch();
    auto* parts = new QHBoxLayout;
    for (QGroupBox* f : {part1, part2, part3, controls})
        parts->addWidget(f);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(parts);

    connect(list1_, &QListWidget::currentRowChanged, this, &GmdcEditingWindow::showDataList);
    connect(list2_, &QListWidget::currentRowChanged, this, &GmdcEditingWindow::showGroup);
    connect(list3_, &QListWidget::currentRowChanged, this, &GmdcEditingWindow::showObject);
    connect(text1_, &QLineEdit::editingFinished, this, &GmdcEditingWindow::commitVertexCount);
    connect(text9_, &QLineEdit::editingFinished, this, &GmdcEditingWindow::commitOpacity);
    connect(replace, &QPushButton::clicked, this, &GmdcEditingWindow::replaceDataLists);
    connect(clear, &QPushButton::clicked, this, &GmdcEditingWindow::clearDataLists);
    connect(saveDataList, &QPushButton::clicked, this, &GmdcEditingWindow::saveDataList);
    connect(replaceFacesButton, &QPushButton::clicked, this, &GmdcEditingWindow::replaceFaces);
    connect(saveFacesButton, &QPushButton::clicked, this, &GmdcEditingWindow::saveFaces);
    connect(savP4, &QPushButton::clicked, this,
            [this] { saveSideFile(tr("Save P4"), p4FileBytes(document_.state().gmdc)); });
    connect(saveP5, &QPushButton::clicked, this,
            [this] { saveSideFile(tr("Save p5"), p5FileBytes(document_.state().gmdc)); });
    connect(removeP5Button, &QPushButton::clicked, this, &GmdcEditingWindow::removeP5);
    connect(saveGmdcButton, &QPushButton::clicked, this, &GmdcEditingWindow::saveGmdc);
    connect(p4Edit, &QPushButton::clicked, this, &GmdcEditingWindow::showP4Window);
    connect(&document_, &Document::gmdcChanged, this, &GmdcEditingWindow::refresh);
    refresh();
}

void GmdcEditingWindow::refresh()
{
    const GmdcFile& g = document_.state().gmdc;
    fillNumbered(list1_, QStringLiteral("Datalist #"), g.dataLists.size());
    fillNumbered(list2_, QStringLiteral("Object group #"), g.objectGroups.size());
    {
        const int current = list3_->currentRow();
        const QSignalBlocker blocker(list3_);
        list3_->clear();
        for (const GmdcObject& object : g.objects)
            list3_->addItem(QString::fromLatin1(object.name));
        if (current < list3_->count())
            list3_->setCurrentRow(current);
    }
    dataListCount_->setText(QString::number(g.dataLists.size()));
    showDataList();
    showGroup();
    showObject();
}

void GmdcEditingWindow::showDataList()
{
    const GmdcFile& g = document_.state().gmdc;
    const int row = list1_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= g.dataLists.size()) {
        for (QLineEdit* e : {identity_, records_, dataLength_, items_})
            e->clear();
        return;
    }
    const DataList& list = g.dataLists[static_cast<std::size_t>(row)];
    const QString shortName = QString::fromLatin1(identity_short_name(list.identity));
    identity_->setText(QStringLiteral("0x%1")
                           .arg(list.identity, 8, 16, QLatin1Char('0'))
                           .toUpper()
                           .replace(QLatin1String("0X"), QLatin1String("0x")) +
                       (shortName.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(shortName)));
    records_->setText(QString::number(list.recordCount));
    dataLength_->setText(QString::number(list.dataLength()));
    QStringList items;
    for (std::int16_t item : list.items)
        items.append(QString::number(item));
    items_->setText(items.join(QLatin1Char(' ')));
}

void GmdcEditingWindow::showGroup()
{
    const GmdcFile& g = document_.state().gmdc;
    const int row = list2_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= g.objectGroups.size())
        text1_->clear();
    else
        text1_->setText(QString::number(g.objectGroups[static_cast<std::size_t>(row)].vertexCount));
}

void GmdcEditingWindow::showObject()
{
    const GmdcFile& g = document_.state().gmdc;
    const int row = list3_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= g.objects.size()) {
        for (QLineEdit* e : {text2_, text9_, groupUsed_, faceCount_})
            e->clear();
        return;
    }
    const GmdcObject& object = g.objects[static_cast<std::size_t>(row)];
    text2_->setText(QString::fromLatin1(object.name));
    text9_->setText(QString::number(object.opacity));
    groupUsed_->setText(QString::number(object.objectGroupIndex + 1));
    faceCount_->setText(QString::number(object.faces.size()));
}

QList<int> GmdcEditingWindow::selectedDataLists() const
{
    QList<int> rows;
    for (const QListWidgetItem* item : list1_->selectedItems())
        rows.append(list1_->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void GmdcEditingWindow::replaceDataLists()
{
    for (int row : selectedDataLists()) {
        const QString name = QString::number(row + 1);
        const QString path = document_.dialogs().openFile(this, tr("Replace datalist %1").arg(name),
                                                          QString::fromLatin1(kSideFileFilter));
        if (path.isEmpty())
            continue;
        std::string bytes, error;
        if (!read_whole_file(path.toStdString(), bytes, error)) {
            document_.report(MessageKind::Error, QString::fromStdString(error), path);
            continue;
        }
        document_.applyEdit(tr("Replace datalist %1").arg(name), [&](State& s, MessageSink& sink) {
            return replaceDataList(s.gmdc, static_cast<std::size_t>(row), bytes, path.toStdString(), sink);
        });
    }
}

void GmdcEditingWindow::clearDataLists()
{
    for (int row : selectedDataLists())
        document_.applyEdit(tr("Clear datalist %1").arg(row + 1), [&](State& s, MessageSink& sink) {
            return clearDataList(s.gmdc, static_cast<std::size_t>(row), sink);
        });
}

void GmdcEditingWindow::commitVertexCount()
{
    const int row = list2_->currentRow();
    if (!text1_->isModified() || row < 0)
        return;
    text1_->setModified(false);
    const std::string text = text1_->text().toStdString();
    if (!document_.applyEdit(tr("Vertex count of object group %1").arg(row + 1), [&](State& s, MessageSink& sink) {
            return setVertexCount(s.gmdc, static_cast<std::size_t>(row), text, sink);
        }))
        showGroup();
}

void GmdcEditingWindow::commitOpacity()
{
    const int row = list3_->currentRow();
    if (!text9_->isModified() || row < 0)
        return;
    text9_->setModified(false);
    const std::string text = text9_->text().toStdString();
    const QString name = QString::fromLatin1(document_.state().gmdc.objects[static_cast<std::size_t>(row)].name);
    if (!document_.applyEdit(tr("Opacity of %1").arg(name), [&](State& s, MessageSink& sink) {
            return setOpacity(s.gmdc, static_cast<std::size_t>(row), text, sink);
        }))
        showObject();
}

void GmdcEditingWindow::replaceFaces()
{
    const int row = selectedRow(list3_);
    if (row < 0)
        return;
    const QString name = QString::fromLatin1(document_.state().gmdc.objects[static_cast<std::size_t>(row)].name);
    const QString path =
        document_.dialogs().openFile(this, tr("Replace Faces of %1").arg(name), QString::fromLatin1(kSideFileFilter));
    if (path.isEmpty())
        return;
    std::string bytes, error;
    if (!read_whole_file(path.toStdString(), bytes, error)) {
        document_.report(MessageKind::Error, QString::fromStdString(error), path);
        return;
    }
    document_.applyEdit(tr("Replace Faces of %1").arg(name), [&](State& s, MessageSink& sink) {
        return mw::replaceFaces(s.gmdc, static_cast<std::size_t>(row), bytes, path.toStdString(), sink);
    });
}

void GmdcEditingWindow::saveFaces()
{
    const int row = selectedRow(list3_);
    if (row >= 0)
        saveSideFile(tr("Save Faces"),
                     faceFileBytes(document_.state().gmdc.objects[static_cast<std::size_t>(row)].faces));
}

void GmdcEditingWindow::saveDataList()
{
    const int row = selectedRow(list1_);
    if (row >= 0)
        saveSideFile(tr("Save Datalist"),
                     dataListFileBytes(document_.state().gmdc.dataLists[static_cast<std::size_t>(row)]));
}

void GmdcEditingWindow::saveSideFile(const QString& title, const std::string& bytes)
{
    const QString path = document_.dialogs().saveFile(this, title, QString::fromLatin1(kGmdcFilter));
    if (path.isEmpty())
        return;
    std::string error;
    if (save_file_atomically(path.toStdString(), bytes, error))
        document_.note(tr("%1: wrote %2").arg(title, path));
    else
        document_.report(MessageKind::Error, QString::fromStdString(error), path);
}

void GmdcEditingWindow::removeP5()
{
    GmdcFile area;
    std::string error;
    if (!loadDefaultArea(area, areaFile_.toStdString(), error)) {
        document_.report(MessageKind::Error, QString::fromStdString(error), areaFile_);
        return;
    }
    document_.applyEdit(tr("Remove P5"), [&](State& s, MessageSink&) {
        mw::removeP5(s.gmdc, area.boundingVertices, area.boundingFaces);
        return true;
    });
}

void GmdcEditingWindow::saveGmdc()
{
    const QString path = document_.askGmdcSavePath(this, tr("Save Gmdc"), document_.gmdcPath());
    if (!path.isEmpty())
        document_.saveGmdc(path);
}

void GmdcEditingWindow::showP4Window()
{
    if (!p4Window_)
        p4Window_ = new P4Window(document_, this);
    p4Window_->show();
    p4Window_->raise();
    p4Window_->activateWindow();
}

P4Window::P4Window(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document), list1_(named(new QListWidget, "List1", tr("P4 positions:"))),
      list2_(named(new QListWidget, "List2", tr("P5")))
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Form7"));
    const char* names[5] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
    const QString captions[5] = {tr("Float 5 (x):"), tr("Float 6 (y):"), tr("Float 7 (z):"), tr("vertices:"),
                                 tr("Faces:")};
    for (int i = 0; i < 5; ++i)
        text_[i] = box(names[i], captions[i], i >= 3);

    auto* location = frame("Frame1", tr("Location"));
    auto* locationForm = new QFormLayout(location);
    for (int i = 0; i < 3; ++i)
        locationForm->addRow(captions[i], text_[i]);
    auto* commit = button("Command1", tr("commit"));
    locationForm->addRow(commit);

    auto* p5 = frame("Frame2", tr("P5"));
    auto* p5Layout = new QVBoxLayout(p5);
    p5Layout->addWidget(list2_);
    auto* p5Form = new QFormLayout;
    p5Form->addRow(captions[3], text_[3]);
    p5Form->addRow(captions[4], text_[4]);
    p5Layout->addLayout(p5Form);
    auto* save = button("Command2", tr("Save"));
    p5Layout->addWidget(save);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("P4 positions:")));
    left->addWidget(list1_);
    left->addWidget(location);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(p5);

    connect(list1_, &QListWidget::currentRowChanged, this, &P4Window::showTransform);
    connect(list2_, &QListWidget::currentRowChanged, this, &P4Window::showP5Entry);
    connect(commit, &QPushButton::clicked, this, &P4Window::commitLocation);
    connect(save, &QPushButton::clicked, this, &P4Window::saveP5Entry);
    connect(&document_, &Document::gmdcChanged, this, &P4Window::refresh);
    refresh();
}

void P4Window::refresh()
{
    const GmdcFile& g = document_.state().gmdc;
    fillNumbered(list1_, QStringLiteral("P4 coordinates"), g.transforms.size());
    fillNumbered(list2_, QStringLiteral("P5 sec #"), g.p5Entries.size());
    showTransform();
    showP5Entry();
}

void P4Window::showTransform()
{
    const GmdcFile& g = document_.state().gmdc;
    const int row = list1_->currentRow();
    for (int i = 0; i < 3; ++i)
        if (row < 0 || static_cast<std::size_t>(row) >= g.transforms.size())
            text_[i]->clear();
        else
            text_[i]->setText(QString::number(g.transforms[static_cast<std::size_t>(row)].location[i], 'f', 6));
}

void P4Window::showP5Entry()
{
    const GmdcFile& g = document_.state().gmdc;
    const int row = list2_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= g.p5Entries.size()) {
        text_[3]->clear();
        text_[4]->clear();
        return;
    }
    const P5Entry& entry = g.p5Entries[static_cast<std::size_t>(row)];
    text_[3]->setText(QString::number(entry.vertexCount()));
    text_[4]->setText(QString::number(entry.faces.size()));
}

void P4Window::commitLocation()
{
    const int row = selectedRow(list1_);
    if (row < 0)
        return;
    const std::string x = text_[0]->text().toStdString(), y = text_[1]->text().toStdString(),
                      z = text_[2]->text().toStdString();
    if (!document_.applyEdit(tr("Location of P4 coordinates %1").arg(row + 1), [&](State& s, MessageSink& sink) {
            return setLocation(s.gmdc, static_cast<std::size_t>(row), x, y, z, sink);
        }))
        showTransform();
}

void P4Window::saveP5Entry()
{
    const int row = selectedRow(list2_);
    if (row < 0)
        return;
    const QString path = document_.dialogs().saveFile(this, tr("Save"), QString::fromLatin1(kGmdcFilter));
    if (path.isEmpty())
        return;
    std::string error;
    if (save_file_atomically(path.toStdString(),
                             p5EntryFileBytes(document_.state().gmdc, static_cast<std::size_t>(row)), error))
        document_.note(tr("Saved P5 sec #%1 to %2").arg(row + 1).arg(path));
    else
        document_.report(MessageKind::Error, QString::fromStdString(error), path);
}

void registerGmdcEditingWindow()
{
    registerToolWindow(ToolWindow::Advanced, [](Document& document, QWidget* mainWindow) {
        auto* window = mainWindow->findChild<GmdcEditingWindow*>();
        if (!window)
            window = new GmdcEditingWindow(document, mainWindow);
        window->show();
        window->raise();
        window->activateWindow();
    });
}

} // namespace mw
