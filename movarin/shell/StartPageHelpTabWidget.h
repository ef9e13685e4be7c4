#pragma once

#include <QWidget>

namespace varnel {

class StartPageLinks;

/// The "Support" tab of the start page: the web links, empty until they are loaded.
class StartPageHelpTabWidget : public QWidget {
    Q_OBJECT
public:
    explicit StartPageHelpTabWidget(QWidget* parent = nullptr);
    ~StartPageHelpTabWidget() override;

    StartPageLinks* links() const { return m_links; }

private:
    StartPageLinks* m_links;
};

} // namespace varnel
