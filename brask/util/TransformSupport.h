#pragma once

class QPointF;
class QTransform;

namespace mvc::util {

/// Checks and inversion for the transforms of the 2-D views.
///
/// Inversion: `QTransform::inverted` treats a determinant below 1e-12 as singular and
/// answers the identity, which a view zoomed out to less than a micro-pixel per metre
/// reaches; here only an exactly singular or non-finite affine transform counts as
/// singular. Constant time.
class TransformSupport {
public:
    TransformSupport() = delete;

    /// The inverse of `transform`. An affine transform is inverted directly; a projective
    /// one through `QTransform::inverted`. A singular transform gives the identity and sets
    /// `*invertible` (when given) to false.
    static QTransform inverted(const QTransform& transform, bool* invertible = nullptr);

    /// Both coordinates finite: a centre a view may take.
    static bool isFinite(const QPointF& point);
    /// Finite and positive: a scale a view may take (anything else makes its transform
    /// singular or meaningless).
    static bool isValidScale(double scale);
};

} // namespace mvc::util
