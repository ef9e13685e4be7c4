#pragma once

#include <QPointF>
#include <QWidget>

class QLabel;

namespace guimisc::widget {

/// The status-bar read-out of the world position under the mouse: "X: <x>  Y: <y>", each
/// coordinate being the position plus the offset (the project's local origin), formatted
/// with `QString::number(value, format, precision)` in the C locale. `setPrecision('f', 2)`
/// gives two decimals (the default), `setPrecision('g', 20)` full precision. `clear()`
/// empties the read-out until the next position arrives.
class MousePositionWidget : public QWidget {
    Q_OBJECT
public:
    explicit MousePositionWidget(QWidget* parent = nullptr);
    ~MousePositionWidget() override;

    void setPrecision(char format, int precision);
    /// The text shown (empty after `clear()`).
    QString text() const;

public slots:
    void updatePosition(const QPointF& position);
    void setOffset(const QPointF& offset);
    void clear();

private:
    void showPosition();

    QLabel* m_label;
    QPointF m_position;
    QPointF m_offset;
    bool m_hasPosition = false;
    char m_format = 'f';
    int m_precision = 2;
};

} // namespace guimisc::widget
