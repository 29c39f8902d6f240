// "Simple object import": three pages from an OBJ file to a new GMDC file and, on
// request, a shape resource. The window owns the step counter, the OBJ path and the
// template path; the construction, the reading and the saving are the core's, run through
// the document. "      CANCEL" returns to page 1; closing the window from its frame
// destroys it.
#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace mw {

class Document;

class WizardWindow : public QWidget {
    Q_OBJECT

  public:
    explicit WizardWindow(Document& document, QWidget* parent = nullptr);

    int step() const { return step_; }
    int page() const; // the page shown, 1 to 3

  private:
    void showPage(int page);
    void browseObj();
    void browseTemplate();
    void next();
    void cancel();
    void readObjects();
    void convert();
    QString templateName(int objects) const;

    Document& document_;
    std::int16_t step_ = 1;
    int objects_ = 0;
    QString objPath_;
    QString templatePath_;
    QFrame* pages_[3] = {};
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLineEdit* text3_;
    QLineEdit* modelNames_[3];
    QCheckBox* check1_;
    QCheckBox* check2_;
    QCheckBox* check3_;
};

} // namespace mw
