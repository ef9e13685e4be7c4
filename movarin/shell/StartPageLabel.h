#pragma once

#include <QString>
#include <QWidget>

class QPainter;

namespace varnel {

/// A clickable entry of the start page: a painted bold title over a smaller grey
/// description, behind a small head mark. A mouse press anywhere on it emits `clicked`.
/// Its size hint is 300 by 40; it keeps its height and takes the width it is given; a
/// line wider than that ends in an ellipsis.
class StartPageLabel : public QWidget {
    Q_OBJECT
public:
    explicit StartPageLabel(QWidget* parent = nullptr);
    ~StartPageLabel() override;

    void setTitle(const QString& title);
    void setDescription(const QString& description);
    const QString& title() const { return m_title; }
    const QString& description() const { return m_description; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    /// One line of text, left-aligned and vertically centred in `rect`, elided at the
    /// right when it is wider.
    static void drawLine(QPainter* painter, const QRect& rect, const QString& text);

    QString m_title;
    QString m_description;
};

} // namespace varnel
