#pragma once

#include <QWidget>

class QSlider;
class QSpinBox;

namespace guimisc::widget {

/// The opacity editor of the drawing settings: a label, a slider and a spin box that move
/// together, holding an integer percentage from 0 (invisible) to 100 (opaque), the value an
/// `xml::OpacityContainer` stores. Values outside 0..100 are clamped. `opacityChanged` is
/// emitted once per change, whether the user or the program made it.
class TransparencyWidget : public QWidget {
    Q_OBJECT
public:
    explicit TransparencyWidget(QWidget* parent = nullptr);
    ~TransparencyWidget() override;

    int opacity() const;
    void setOpacity(int percent);

signals:
    void opacityChanged(int percent);

private:
    QSlider* m_slider;
    QSpinBox* m_spinBox;
};

} // namespace guimisc::widget
