// The GMDC editing windows: "GMDC EDITING" shows the current GMDC section by section and
// changes single fields or whole lists from side files; its "P4 Edit" opens the P4/P5
// window ("Form7"). Every change is one undoable step of the document; nothing is written
// to the GMDC file until "Save Gmdc" or the main window's save.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <string>

class QLineEdit;
class QListWidget;

namespace mw {

class Document;
class P4Window;

class GmdcEditingWindow : public QWidget {
    Q_OBJECT

  public:
    explicit GmdcEditingWindow(Document& document, QWidget* parent = nullptr);

    // Where "Remove P5 " reads the default clickable area ("obj_pinfo.dat" beside the program).
    void setAreaFile(const QString& path) { areaFile_ = path; }
    P4Window* p4Window() const { return p4Window_; }

  private:
    void refresh();
    void showDataList();
    void showGroup();
    void showObject();
    void replaceDataLists();
    void clearDataLists();
    void commitVertexCount();
    void commitOpacity();
    void replaceFaces();
    void saveFaces();
    void saveDataList();
    void saveSideFile(const QString& title, const std::string& bytes);
    void removeP5();
    void saveGmdc();
    void showP4Window();
    QList<int> selectedDataLists() const;

    Document& document_;
    QString areaFile_;
    P4Window* p4Window_ = nullptr;
    QListWidget* list1_;
    QListWidget* list2_;
    QListWidget* list3_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLineEdit* text9_;
    QLineEdit* identity_;
    QLineEdit* records_;
    QLineEdit* dataLength_;
    QLineEdit* items_;
    QLineEdit* dataListCount_;
    QLineEdit* groupUsed_;
    QLineEdit* faceCount_;
};

// The P4/P5 window: transform locations and the P5 entries.
class P4Window : public QWidget {
    Q_OBJECT

  public:
    explicit P4Window(Document& document, QWidget* parent = nullptr);

  private:
    void refresh();
    void showTransform();
    void showP5Entry();
    void commitLocation();
    void saveP5Entry();

    Document& document_;
    QListWidget* list1_;
    QListWidget* list2_;
    QLineEdit* text_[5];
};

// Makes "Advanced Mode" open the editing window.
void registerGmdcEditingWindow();

} // namespace mw
