#include "movarin/shell/StartPageLink.h"

namespace varnel {
namespace {

QString shortenedUrl(const QString& url)
{
    if (url.length() < 40) {
        return url;
    }
    return url.left(22) + QStringLiteral("...") + url.right(15);
}

} // namespace

StartPageLink::StartPageLink(const QString& caption, const QString& url, QWidget* parent)
    : StartPageLabel(parent), m_url(url)
{
    setTitle(caption);
    setDescription(shortenedUrl(url));
    setToolTip(url);
}

StartPageLink::~StartPageLink() = default;

} // namespace varnel
