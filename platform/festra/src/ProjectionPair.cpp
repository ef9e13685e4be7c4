#include "proj/ProjectionPair.h"

namespace proj {

struct ProjectionPair::Impl
{
    std::string name;
    std::string caption;
};

ProjectionPair::ProjectionPair()
    : m_impl(std::make_unique<Impl>())
{
}

ProjectionPair::~ProjectionPair() = default;

const std::string& ProjectionPair::name() const
{
    return m_impl->name;
}

void ProjectionPair::setName(const std::string& name)
{
    m_impl->name = name;
}

const std::string& ProjectionPair::caption() const
{
    return m_impl->caption;
}

void ProjectionPair::setCaption(const std::string& caption)
{
    m_impl->caption = caption;
}

std::string ProjectionPair::searchTarget() const
{
    std::string target;
    target.reserve(m_impl->name.size() + 1 + m_impl->caption.size());
    target += m_impl->name;
    target += ' ';
    target += m_impl->caption;
    // ASCII only: bytes of other letters (Latin-1 or UTF-8) stay as they are, so that a
    // multi-byte sequence is never broken.
    for (char& c : target) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return target;
}

} // namespace proj
