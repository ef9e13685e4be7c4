#pragma once

#include <QString>
#include <QWidget>

class QVBoxLayout;

namespace varnel {

/// The web links of the start page's Support tab, read from a compiled-in document:
/// ":/data/startpagelinks_<locale>.xml" when it exists, else ":/data/startpagelinks.xml".
///
/// The document's root element holds one element per group, with the attribute "title"
/// (shown as a heading); each group holds one element per link with the attributes
/// "title" (the caption) and "url". Tag names are not looked at; a missing attribute reads
/// empty. A missing or malformed document gives no entries and no message. Clicking a link
/// opens its URL with the desktop's handler.
class StartPageLinks : public QWidget {
    Q_OBJECT
public:
    explicit StartPageLinks(QWidget* parent = nullptr);
    ~StartPageLinks() override;

    /// Fills the widget from the document for the locale name (as "ja_JP"), replacing
    /// what an earlier call put there.
    void loadLinks(const QString& localeName);
    void addHeading(const QString& text);
    void addLink(const QString& caption, const QString& url);

public slots:
    void handleLinkClick();

private:
    void clear();

    QVBoxLayout* m_layout;
};

} // namespace varnel
