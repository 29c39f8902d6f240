// "Scaling Options": the two scale percentages, kept in the settings. "Apply" stores the
// boxes' text unchanged and hides the window; closing it from its frame destroys it.
#pragma once

#include <QWidget>

class QLineEdit;

namespace mw {

class ScalingOptions : public QWidget {
    Q_OBJECT

  public:
    explicit ScalingOptions(QWidget* parent = nullptr);

  private:
    void apply();

    QLineEdit* txtScaleToObj_;
    QLineEdit* txtScaleFromObj_;
};

} // namespace mw
