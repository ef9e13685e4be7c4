#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mold {
namespace core {

/// A mold: the cross-section template that is swept along a path to shape a surface.
///
/// A mold is an ordered list of points (l, h) in metres: l is the horizontal offset from the
/// mold's axis, positive to the right of the walking direction, and h is the height above the
/// path. The base point (baseL, baseH) is a reference the editor draws; it takes no part in the
/// geometry. The edit type says whether the sweep adds material to a surface or removes it.
///
/// The two vectors always have the same length: every operation changes them together. The
/// mold holds any values it is given (also non-finite ones and edit types other than Add and
/// Subtract); the exporter refuses to write what the importer would refuse to read.
///
/// Value type: copies share nothing. A moved-from mold may only be assigned to or destroyed.
class Mold
{
public:
    /// 32-bit on disk: 0 adds material, 1 removes it.
    enum EditType : std::int32_t
    {
        Add = 0,
        Subtract = 1
    };

    /// "Add" for Add, "Sub" for Subtract (callers use these texts as folder names), "Unknown"
    /// for any other value.
    static std::string editTypeString(EditType type);

    /// An empty Add mold with its base point at (0, 0).
    Mold();
    /// Throws common::exception::RuntimeException when l and h differ in length.
    Mold(EditType editType, const std::vector<double>& l, const std::vector<double>& h,
         double baseL, double baseH);
    Mold(const Mold& other);
    Mold(Mold&& other) noexcept;
    Mold& operator=(const Mold& other);
    Mold& operator=(Mold&& other) noexcept;
    ~Mold();

    EditType editType() const;
    void setEditType(EditType editType);

    std::size_t size() const;
    bool empty() const;

    /// The mold's own offsets and heights, both of size() elements; point i is (l()[i], h()[i]).
    const std::vector<double>& l() const;
    const std::vector<double>& h() const;

    double baseL() const;
    double baseH() const;
    void setBaseL(double baseL);
    void setBaseH(double baseH);

    /// Replaces all points; throws common::exception::RuntimeException when l and h differ in
    /// length (the mold is then unchanged).
    void setLH(const std::vector<double>& l, const std::vector<double>& h);
    /// Replaces point i; std::out_of_range when i >= size().
    void setLH(std::size_t i, double l, double h);
    /// Inserts before index i (i == size() appends); std::out_of_range when i > size().
    void insertLH(std::size_t i, double l, double h);
    /// Removes point i; std::out_of_range when i >= size().
    void eraseLH(std::size_t i);
    void pushbackLH(double l, double h);
    /// Removes the last point; std::out_of_range on an empty mold.
    void popbackLH();
    void clear();

    /// Extent of the mold left of its axis: max(0, -min l), 0 for an empty mold.
    double widthL() const;
    /// Extent of the mold right of its axis: max(0, max l), 0 for an empty mold.
    double widthR() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace core
} // namespace mold
