#pragma once

#include <QLineEdit>

namespace guimisc::widget {

/// A line edit for one double in the C locale ("1234.5", "-1e-3"; no group separators),
/// whatever the user's locale. `setValue` shows the shortest text that reads back to the
/// same value; `value()` reads the text, and gives 0 when it is not a number (the field
/// accepts only number-like input while typing, so that happens only for empty or partly
/// typed text).
class RealNumberEditWidget : public QLineEdit {
    Q_OBJECT
public:
    explicit RealNumberEditWidget(QWidget* parent = nullptr);
    ~RealNumberEditWidget() override;

    double value() const;
    void setValue(double value);
};

} // namespace guimisc::widget
