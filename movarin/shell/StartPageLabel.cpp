#include "movarin/shell/StartPageLabel.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace varnel {

StartPageLabel::StartPageLabel(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

StartPageLabel::~StartPageLabel() = default;

void StartPageLabel::setTitle(const QString& title)
{
    m_title = title;
    update();
}

void StartPageLabel::setDescription(const QString& description)
{
    m_description = description;
    update();
}

QSize StartPageLabel::sizeHint() const
{
    return QSize(300, 40);
}

void StartPageLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, Qt::white);
    painter.drawPixmap(2, 2, QPixmap(QStringLiteral(":/images/headMark.png")));

    QFont titleFont(QStringLiteral("Helvetica"), 11);
    titleFont.setWeight(QFont::Bold);
    painter.setFont(titleFont);
    const QRect titleRect(QPoint(r.left() + 20, r.top()), QPoint(r.right(), r.top() + 19));
    drawLine(&painter, titleRect, m_title);

    QFont descriptionFont(QStringLiteral("Helvetica"), 9);
    descriptionFont.setWeight(QFont::Normal);
    painter.setFont(descriptionFont);
    painter.setPen(Qt::darkGray);
    const QRect descriptionRect(QPoint(r.left() + 20, r.top() + 20),
                                QPoint(r.right(), r.top() + 39));
    drawLine(&painter, descriptionRect, m_description);
}

void StartPageLabel::drawLine(QPainter* painter, const QRect& rect, const QString& text)
{
    // A long file name or path is cut with an ellipsis rather than in the middle of a letter.
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void StartPageLabel::mousePressEvent(QMouseEvent*)
{
    emit clicked();
}

} // namespace varnel
