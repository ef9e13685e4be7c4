#pragma once

#include "movarin/shell/StartPageLabel.h"

namespace varnel {

/// A web link of the start page's Support tab: the caption as title, the URL as
/// description (shortened to its first 22 and last 15 characters when it has 40 or more)
/// and the whole URL as tool tip. Opening it is the links widget's business.
class StartPageLink : public StartPageLabel {
    Q_OBJECT
public:
    StartPageLink(const QString& caption, const QString& url, QWidget* parent = nullptr);
    ~StartPageLink() override;

    const QString& url() const { return m_url; }

private:
    QString m_url;
};

} // namespace varnel
