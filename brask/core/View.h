#pragma once

#include <QWidget>

namespace mvc::core {

class Model;

/// The main 2-D view of a project window: shows one model (not owned).
///
/// `updateView()` drops the model's paint caches and repaints.
class View : public QWidget {
    Q_OBJECT
public:
    explicit View(QWidget* parent = nullptr);
    ~View() override;

    void setModel(Model* model);
    Model* model() const;

    void updateView();

private:
    Model* m_model = nullptr;
};

} // namespace mvc::core
