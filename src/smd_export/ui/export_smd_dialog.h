// The "Export SMD" window: the user picks the vertex-line layout, then asks to export.
// It returns the choice and never writes: the 3D view asks for the file name and exports
// the object selected at that moment. Not modal; its buttons only hide it, so the choice
// stays while it is hidden.
#pragma once

#include <QDialog>

#include <cstdint>

class QRadioButton;

namespace mw {

class ExportSmdDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ExportSmdDialog(QWidget* parent = nullptr);
    // 2 (several weighted bones per vertex, "Option1") or 1 (one bone, "Option2").
    std::int16_t mode() const;

  signals:
    // "Export": the window is hidden already; the receiver asks for the file and redraws.
    void exportRequested(std::int16_t mode);
    // "Cancel" (or Esc): hidden; the receiver redraws.
    void cancelled();

  private:
    QRadioButton* multiple_ = nullptr;
    QRadioButton* single_ = nullptr;
};

} // namespace mw
