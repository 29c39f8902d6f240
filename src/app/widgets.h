// Small widgets and helpers the program's windows share.
#pragma once

#include <QLabel>
#include <QString>

class QWidget;

namespace mw {

// A label that acts like a button when clicked (the step labels, the wizard's "NEXT").
class ClickLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Gives `widget` its objectName and, as accessible name, its caption (accelerator
// ampersands removed); returns the widget.
template <class W> W* named(W* widget, const char* objectName, const QString& caption)
{
    widget->setObjectName(QLatin1String(objectName));
    QString accessible = caption.trimmed();
    accessible.remove(QLatin1Char('&'));
    widget->setAccessibleName(accessible);
    return widget;
}

// "1 object", "2 objects": `count` with `noun` in the singular or plural.
QString countOf(qsizetype count, const QString& noun);

// "Meshwright by Orla & Brannock v" + major.minor.revision.
QString programTitle();

} // namespace mw
