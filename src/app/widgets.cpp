// Shared widgets.
#include "app/widgets.h"

#include <QMouseEvent>

namespace mw {

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled() && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

QString countOf(qsizetype count, const QString& noun)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? QString() : QStringLiteral("s"));
}

QString programTitle()
{
    return QStringLiteral("Meshwright by Orla & Brannock v") + QLatin1String(MESHWRIGHT_VERSION);
}

} // namespace mw
