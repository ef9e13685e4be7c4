#include "mold/core/Mold.h"

#include "common/exception/RuntimeException.h"

#include <algorithm>
#include <stdexcept>

namespace mold {
namespace core {

struct Mold::Impl
{
    EditType editType = Add;
    std::vector<double> l;
    std::vector<double> h;
    double baseL = 0.0;
    double baseH = 0.0;
};

namespace {

void requireSameLength(const std::vector<double>& l, const std::vector<double>& h)
{
    if (l.size() != h.size()) {
        throw common::exception::RuntimeException(
            "Mold points need as many heights as offsets: " + std::to_string(l.size())
            + " offsets, " + std::to_string(h.size()) + " heights");
    }
}

void requireIndex(std::size_t i, std::size_t limit, const char* operation)
{
    if (i >= limit) {
        throw std::out_of_range(std::string("Mold::") + operation + ": index "
                                + std::to_string(i) + " out of range");
    }
}

} // namespace

std::string Mold::editTypeString(EditType type)
{
    switch (type) {
    case Add:
        return "Add";
    case Subtract:
        return "Sub";
    }
    return "Unknown";
}

Mold::Mold() : m_impl(std::make_unique<Impl>()) {}

Mold::Mold(EditType editType, const std::vector<double>& l, const std::vector<double>& h,
           double baseL, double baseH)
    : m_impl(std::make_unique<Impl>())
{
    requireSameLength(l, h);
    m_impl->editType = editType;
    m_impl->l = l;
    m_impl->h = h;
    m_impl->baseL = baseL;
    m_impl->baseH = baseH;
}

Mold::Mold(const Mold& other) : m_impl(std::make_unique<Impl>(*other.m_impl)) {}

Mold::Mold(Mold&& other) noexcept = default;

Mold& Mold::operator=(const Mold& other)
{
    if (this != &other) {
        if (m_impl) {
            *m_impl = *other.m_impl;
        } else {
            m_impl = std::make_unique<Impl>(*other.m_impl);
        }
    }
    return *this;
}

Mold& Mold::operator=(Mold&& other) noexcept = default;

Mold::~Mold() = default;

Mold::EditType Mold::editType() const { return m_impl->editType; }

void Mold::setEditType(EditType editType) { m_impl->editType = editType; }

std::size_t Mold::size() const { return m_impl->l.size(); }

bool Mold::empty() const { return m_impl->l.empty(); }

const std::vector<double>& Mold::l() const { return m_impl->l; }

const std::vector<double>& Mold::h() const { return m_impl->h; }

double Mold::baseL() const { return m_impl->baseL; }

double Mold::baseH() const { return m_impl->baseH; }

void Mold::setBaseL(double baseL) { m_impl->baseL = baseL; }

void Mold::setBaseH(double baseH) { m_impl->baseH = baseH; }

void Mold::setLH(const std::vector<double>& l, const std::vector<double>& h)
{
    requireSameLength(l, h);
    // Copy first so that a failed allocation leaves the mold as it was.
    std::vector<double> newL(l);
    std::vector<double> newH(h);
    m_impl->l.swap(newL);
    m_impl->h.swap(newH);
}

void Mold::setLH(std::size_t i, double l, double h)
{
    requireIndex(i, size(), "setLH");
    m_impl->l[i] = l;
    m_impl->h[i] = h;
}

void Mold::insertLH(std::size_t i, double l, double h)
{
    requireIndex(i, size() + 1, "insertLH");
    m_impl->l.insert(m_impl->l.begin() + static_cast<std::ptrdiff_t>(i), l);
    try {
        m_impl->h.insert(m_impl->h.begin() + static_cast<std::ptrdiff_t>(i), h);
    } catch (...) {
        m_impl->l.erase(m_impl->l.begin() + static_cast<std::ptrdiff_t>(i));
        throw;
    }
}

void Mold::eraseLH(std::size_t i)
{
    requireIndex(i, size(), "eraseLH");
    m_impl->l.erase(m_impl->l.begin() + static_cast<std::ptrdiff_t>(i));
    m_impl->h.erase(m_impl->h.begin() + static_cast<std::ptrdiff_t>(i));
}

void Mold::pushbackLH(double l, double h) { insertLH(size(), l, h); }

void Mold::popbackLH()
{
    if (empty()) {
        throw std::out_of_range("Mold::popbackLH: the mold has no points");
    }
    m_impl->l.pop_back();
    m_impl->h.pop_back();
}

void Mold::clear()
{
    m_impl->l.clear();
    m_impl->h.clear();
}

double Mold::widthL() const
{
    if (empty()) {
        return 0.0;
    }
    return std::max(0.0, -*std::min_element(m_impl->l.begin(), m_impl->l.end()));
}

double Mold::widthR() const
{
    if (empty()) {
        return 0.0;
    }
    return std::max(0.0, *std::max_element(m_impl->l.begin(), m_impl->l.end()));
}

} // namespace core
} // namespace mold
