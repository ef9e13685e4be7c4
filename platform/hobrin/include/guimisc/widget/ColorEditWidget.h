#pragma once

#include <QColor>
#include <QPushButton>

namespace guimisc::widget {

/// A button filled with its colour; a click opens the colour dialog (through
/// `UserDialogs::getColor`) and a chosen colour replaces the current one, while Cancel
/// keeps it. `colorChanged` is emitted whenever the colour changes.
class ColorEditWidget : public QPushButton {
    Q_OBJECT
public:
    explicit ColorEditWidget(QWidget* parent = nullptr);
    ~ColorEditWidget() override;

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

signals:
    void colorChanged(const QColor& color);

private slots:
    void chooseColor();

private:
    void updateLook();

    QColor m_color;
};

} // namespace guimisc::widget
