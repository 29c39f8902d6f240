// "Group Editor & Settings": the import options the merge reads at the moment of use, and
// the name and opacity of each GMDC object. Modal; "Close" (or Escape) hides it, so its
// controls keep their state; closing it from its frame destroys it. The object list is
// filled when the window is made.
#pragma once

#include "merge/merge_options.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace mw {

class Document;

// The opacity "commit" stores: the text read with "." as decimal point and rounded to the
// nearest integer, halves to even; a text that is no number gives 0. False (value
// untouched) for a number outside the 32-bit range.
bool opacityFromText(const QString& text, int& opacity);

class GroupEditor : public QDialog {
    Q_OBJECT

  public:
    explicit GroupEditor(Document& document, QWidget* parent = nullptr);

    ImportOptions importOptions() const;

    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showSelected();
    void commit();

    Document& document_;
    QCheckBox* check_[5];
    QListWidget* list1_;
    QLineEdit* txtName_;
    QLineEdit* txtOpacity_;
    bool inDone_ = false; // "Close" and Escape hide; only the frame destroys
};

} // namespace mw
