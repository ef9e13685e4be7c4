#include "ConstrainedMesher.h"

#include "CgalSetup.h"
#include "EdgeMarkerTable.h"
#include "SegmentSplitter.h"
#include "trianglecui/TriangleProcessError.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Constrained_triangulation_plus_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Delaunay_mesher_no_edge_refinement_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>
#include <new>
#include <numeric>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

namespace trianglecui {

namespace {

// Beyond this minimum angle Delaunay refinement is not known to end.
constexpr double MAXIMUM_REFINABLE_ANGLE = 33.8;
constexpr std::size_t MINIMUM_VERTEX_BUDGET = 100000;
constexpr std::size_t VERTEX_BUDGET_PER_INPUT_POINT = 10;
constexpr double PI = 3.14159265358979323846;
// Segments meeting at less than this angle cannot be refined towards large angles near where they
// meet; CGAL's mesher treats them as one cluster.
constexpr double SMALL_INPUT_ANGLE = 60.0;
// Concentric shells put on the segments of a small input angle, halving from about a quarter of
// the shortest of them; bad triangles are then confined to about 1/32 of that length.
constexpr int SHELL_COUNT = 6;
constexpr int MAXIMUM_SEGMENT_ROUNDS = 4;

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Kernel::Point_2;

// Created vertices are numbered in order of creation; the triangulation makes them deep inside
// CGAL (crossings, refinement), so each vertex takes a stamp from a running counter when built.
// The counter restarts with every run and the stamp lives, negated, in the input field until an
// input point claims the vertex, which keeps the vertex as small as a bare triangulation's.
thread_local int creationCounter = 0;

struct VertexInfo
{
    int input = -(++creationCounter); // lowest input index at this position, or -creation stamp
    int output = -1;                  // output index, USED while numbering
};

using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexInfo, Kernel>;
using ConstrainedFaceBase = CGAL::Constrained_triangulation_face_base_2<Kernel>;
using FaceBase = CGAL::Delaunay_mesh_face_base_2<Kernel, ConstrainedFaceBase>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Kernel, DataStructure,
                                                       CGAL::Exact_predicates_tag>;
// Resolves crossings itself and keeps the history of every constraint: the refinements need it.
using Triangulation = CGAL::Constrained_triangulation_plus_2<Cdt>;
// Takes constraints that meet only at vertices: the segments cut at their crossings beforehand.
using SplitTriangulation =
    CGAL::Constrained_Delaunay_triangulation_2<Kernel, DataStructure,
                                               CGAL::No_constraint_intersection_requiring_constructions_tag>;
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, DataStructure>;
using TriangulationBase = CGAL::Triangulation_2<Kernel, DataStructure>;
using VertexHandle = Triangulation::Vertex_handle;
using FaceHandle = Triangulation::Face_handle;
using ConstraintId = Triangulation::Constraint_id;
static_assert(std::is_same<VertexHandle, SplitTriangulation::Vertex_handle>::value,
              "both triangulations share one data structure");

// Thrown by a run on cut segments that meets a crossing after all (rounding left two subsegments
// crossing, or the subsegments did not settle); the run is repeated on settled subsegments, and
// then on the triangulation that resolves crossings itself.
struct SubsegmentsCross
{
};

constexpr int USED = -2;

double triangleArea(Point const& p, Point const& q, Point const& r)
{
    return 0.5 * std::abs((q.x() - p.x()) * (r.y() - p.y()) - (q.y() - p.y()) * (r.x() - p.x()));
}

double faceArea(FaceHandle f)
{
    return triangleArea(f->vertex(0)->point(), f->vertex(1)->point(), f->vertex(2)->point());
}

// Refinement goals: a minimum angle (as the squared sine B of the smallest angle) and a maximum
// area, either of them switched off by 0. Oversized triangles are refined first.
class RefinementCriteria
{
public:
    using Face_handle = FaceHandle;

    struct Quality
    {
        double areaRatio = 0.0;   // area / bound; > 1 is oversized
        double sineSquared = 1.0; // squared sine of the smallest angle

        // a < b: a is refined before b
        bool operator<(Quality const& other) const
        {
            if (areaRatio > 1.0 || other.areaRatio > 1.0)
                return areaRatio > other.areaRatio;
            return sineSquared < other.sineSquared;
        }
    };

    class Is_bad
    {
    public:
        Is_bad(double minimumSineSquared, double maximumArea)
            : minimumSineSquared_(minimumSineSquared), maximumArea_(maximumArea)
        {
        }

        CGAL::Mesh_2::Face_badness operator()(Quality const q) const
        {
            if (q.areaRatio > 1.0)
                return CGAL::Mesh_2::IMPERATIVELY_BAD;
            if (q.sineSquared < minimumSineSquared_)
                return CGAL::Mesh_2::BAD;
            return CGAL::Mesh_2::NOT_BAD;
        }

        CGAL::Mesh_2::Face_badness operator()(Face_handle const& f, Quality& q) const
        {
            Point const& a = f->vertex(0)->point();
            Point const& b = f->vertex(1)->point();
            Point const& c = f->vertex(2)->point();
            double const area = triangleArea(a, b, c);
            q.areaRatio = maximumArea_ > 0.0 ? area / maximumArea_ : 0.0;
            double la = CGAL::to_double(CGAL::squared_distance(b, c));
            double lb = CGAL::to_double(CGAL::squared_distance(c, a));
            double lc = CGAL::to_double(CGAL::squared_distance(a, b));
            // The smallest angle lies between the two longest sides.
            double const shortest = std::min({la, lb, lc});
            double const product = la * lb * lc / shortest;
            q.sineSquared = product > 0.0 ? (4.0 * area * area) / product : 0.0;
            return (*this)(q);
        }

    private:
        double minimumSineSquared_;
        double maximumArea_;
    };

    RefinementCriteria(double minimumSineSquared, double maximumArea)
        : minimumSineSquared_(minimumSineSquared), maximumArea_(maximumArea)
    {
    }

    Is_bad is_bad_object() const { return Is_bad(minimumSineSquared_, maximumArea_); }

private:
    double minimumSineSquared_;
    double maximumArea_;
};

std::string formatNumber(double value)
{
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}

// One run on the triangulation Tr: Triangulation (crossings resolved inside, with history; for
// the refinements) or SplitTriangulation (segments cut at their crossings beforehand).
template <typename Tr>
class MeshBuilder
{
    static constexpr bool WITH_HISTORY = std::is_same<Tr, Triangulation>::value;

public:
    MeshBuilder(TriangleSwitches const& switches, std::vector<double> const& points,
                std::vector<int> const& segments, std::vector<int> const& segmentMarkers,
                SegmentSplitter::Rounds rounds = SegmentSplitter::Rounds::UntilSettled)
        : switches_(switches), points_(points), segments_(segments),
          segmentMarkers_(segmentMarkers), inputCount_(points.size() / 2), rounds_(rounds)
    {
        creationCounter = 0;
    }

    MeshOutput build()
    {
        insertPoints();
        if (triangulation_.dimension() == 2) {
            if constexpr (WITH_HISTORY) {
                if (switches_.segmentsConstrain)
                    insertSegments();
                if (switches_.quality || switches_.areaBound)
                    refine();
            } else {
                if (switches_.segmentsConstrain)
                    insertSubsegments();
            }
            markKeptFaces();
        }
        MeshOutput output;
        numberVertices(output);
        collectTriangles(output);
        if (switches_.edgeList) {
            if (hasTriangles() && switches_.segmentsConstrain && !segmentMarkers_.empty())
                markSegmentEdges();
            collectEdges(output);
        }
        return output;
    }

private:
    // Spatially sorted insertion with a running hint, as CGAL's own range insertion does, but
    // keeping the handle of every input index and the lowest index at a duplicate position.
    // Positions are sorted together with their indices rather than through an index array, so
    // that the insertion reads them in order instead of once per point at random.
    // Without constraints a constrained Delaunay triangulation is a Delaunay triangulation, and
    // the unconstrained insertion is markedly faster; both share one data structure, so the
    // points go into a Delaunay triangulation that is then swapped in.
    void insertPoints()
    {
        using Entry = std::pair<Point, int>;
        std::vector<Entry, tin::support::HugePageAllocatorT<Entry>> entries;
        entries.reserve(inputCount_);
        for (std::size_t i = 0; i < inputCount_; ++i)
            entries.emplace_back(Point(points_[2 * i], points_[2 * i + 1]), static_cast<int>(i));
        using PositionMap = CGAL::First_of_pair_property_map<Entry>;
        using SortTraits = CGAL::Spatial_sort_traits_adapter_2<Kernel, PositionMap>;
        CGAL::spatial_sort(entries.begin(), entries.end(), SortTraits(PositionMap()));

        handles_.resize(inputCount_);
        Delaunay delaunay;
        FaceHandle hint;
        for (Entry const& entry : entries) {
            VertexHandle v = delaunay.insert(entry.first, hint);
            hint = v->face();
            int& input = v->info().input;
            int const index = entry.second;
            if (input < 0 || index < input)
                input = index;
            handles_[static_cast<std::size_t>(index)] = v;
        }
        if constexpr (!WITH_HISTORY) {
            if (switches_.segmentsConstrain && delaunay.dimension() == 2)
                insertCrossings(delaunay);
        }
        static_cast<TriangulationBase&>(triangulation_).swap(delaunay);
    }

    // The segments are cut at their crossings, and the crossing points go into the Delaunay
    // triangulation with the input points, so that no constraint needs a point constructed.
    // A created vertex takes its rank in order of creation as its stamp; where several fall on
    // one position the lowest rank stands for it, and an input point's index before any.
    void insertCrossings(Delaunay& delaunay)
    {
        std::vector<int> canonical(segments_.size());
        for (std::size_t k = 0; k < segments_.size(); ++k)
            canonical[k] = handles_[static_cast<std::size_t>(segments_[k])]->info().input;
        split_ = SegmentSplitter::split(points_, canonical, rounds_);
        if (!split_.converged)
            throw SubsegmentsCross();

        using Entry = std::pair<Point, int>;
        std::size_t const created = split_.created.size() / 2;
        std::vector<Entry, tin::support::HugePageAllocatorT<Entry>> entries;
        entries.reserve(created);
        for (std::size_t k = 0; k < created; ++k)
            entries.emplace_back(Point(split_.created[2 * k], split_.created[2 * k + 1]),
                                 static_cast<int>(k));
        using PositionMap = CGAL::First_of_pair_property_map<Entry>;
        using SortTraits = CGAL::Spatial_sort_traits_adapter_2<Kernel, PositionMap>;
        CGAL::spatial_sort(entries.begin(), entries.end(), SortTraits(PositionMap()));
        handles_.resize(inputCount_ + created);
        FaceHandle hint;
        for (Entry const& entry : entries) {
            VertexHandle v = delaunay.insert(entry.first, hint);
            hint = v->face();
            VertexInfo& info = v->info();
            int const rank = entry.second;
            // output holds the lowest rank until numbering
            if (info.input < 0 && (info.output < 0 || rank < info.output))
                info.output = rank;
            handles_[inputCount_ + static_cast<std::size_t>(rank)] = v;
        }
        for (std::size_t k = inputCount_; k < handles_.size(); ++k) {
            VertexInfo& info = handles_[k]->info();
            if (info.input < 0 && info.output >= 0) {
                info.input = -(info.output + 1);
                info.output = -1;
            }
        }
    }

    // Every subsegment goes in between two vertices; one that passes through a vertex is split
    // there without a constructed point. With markers to place, the chain of mesh edges along each
    // marked segment is traced once all subsegments are in.
    void insertSubsegments()
    {
        std::size_t const count = segments_.size() / 2;
        oneEdge_.assign(split_.chains.size(), false);
        try {
            for (std::size_t s = 0; s < count; ++s) {
                for (std::size_t k = split_.chainStart[s]; k + 1 < split_.chainStart[s + 1]; ++k) {
                    VertexHandle const a = chainVertex(k);
                    VertexHandle const b = chainVertex(k + 1);
                    if (a == b)
                        continue;
                    if (constrainAsOneEdge(a, b))
                        oneEdge_[k] = true;
                    else
                        triangulation_.insert_constraint(a, b);
                }
            }
        } catch (typename Tr::Intersection_of_constraints_exception const&) {
            throw SubsegmentsCross();
        }
        if (switches_.edgeList && !segmentMarkers_.empty())
            traceMarkedSegments();
    }

    // Most subsegments are an edge already, or the diagonal of two triangles whose other diagonal
    // the Delaunay triangulation chose (cocircular grid cells). Those are constrained here with at
    // most one flip, which is what the general insertion would do with them at several times the
    // cost: it removes the faces the subsegment crosses and triangulates the two halves of the
    // hole, two triangles here. False leaves the subsegment to the general insertion (it crosses
    // more edges, or passes through a vertex).
    bool constrainAsOneEdge(VertexHandle a, VertexHandle b)
    {
        auto const first = triangulation_.incident_faces(a);
        auto faces = first;
        do {
            FaceHandle const f = faces;
            int const i = f->index(a);
            if (f->vertex(Tr::ccw(i)) == b) {
                constrain(f, Tr::cw(i));
                return true;
            }
            if (f->vertex(Tr::cw(i)) == b) {
                constrain(f, Tr::ccw(i));
                return true;
            }
        } while (++faces != first);
        do {
            FaceHandle f = faces;
            if (triangulation_.is_infinite(f))
                continue;
            int const i = f->index(a);
            FaceHandle const g = f->neighbor(i);
            if (g->vertex(triangulation_.mirror_index(f, i)) != b)
                continue;
            if (f->is_constrained(i) || triangulation_.is_infinite(g))
                return false;
            CGAL::Orientation const c = CGAL::orientation(a->point(), b->point(),
                                                          f->vertex(Tr::ccw(i))->point());
            CGAL::Orientation const d = CGAL::orientation(a->point(), b->point(),
                                                          f->vertex(Tr::cw(i))->point());
            // c and d strictly on either side of ab, a and b on either side of cd (f and g lie
            // on either side of it): the quadrilateral is convex and ab its other diagonal.
            if (c == CGAL::COLLINEAR || d == CGAL::COLLINEAR || c == d)
                return false;
            triangulation_.flip(f, i);
            constrain(f, f->index(g));
            return true;
        } while (++faces != first);
        return false;
    }

    void constrain(FaceHandle f, int i)
    {
        f->set_constraint(i, true);
        f->neighbor(i)->set_constraint(triangulation_.mirror_index(f, i), true);
    }

    VertexHandle chainVertex(std::size_t chainIndex) const
    {
        return handles_[static_cast<std::size_t>(split_.chains[chainIndex])];
    }

    void traceMarkedSegments()
    {
        std::size_t const count = segments_.size() / 2;
        meshChainStart_.assign(1, 0);
        meshChain_.clear();
        for (std::size_t s = 0; s < count; ++s) {
            if (segmentMarkers_[s] != 0) {
                std::size_t const first = split_.chainStart[s];
                std::size_t const last = split_.chainStart[s + 1];
                for (std::size_t k = first; k + 1 < last; ++k) {
                    VertexHandle current = chainVertex(k);
                    VertexHandle const end = chainVertex(k + 1);
                    if (current == end)
                        continue;
                    if (meshChain_.size() == meshChainStart_.back())
                        meshChain_.push_back(current);
                    if (oneEdge_[k]) {
                        meshChain_.push_back(end);
                        continue;
                    }
                    while (current != end) {
                        FaceHandle f;
                        int i = 0;
                        current = triangulation_.is_edge(current, end, f, i)
                                      ? end
                                      : nextVertexTowards(current, end);
                        meshChain_.push_back(current);
                    }
                }
            }
            meshChainStart_.push_back(meshChain_.size());
        }
    }

    // The neighbour of from that lies on the segment from - to, strictly between them; the
    // triangulation put a vertex lying exactly on a subsegment into the subsegment's chain.
    VertexHandle nextVertexTowards(VertexHandle from, VertexHandle to) const
    {
        auto neighbours = triangulation_.incident_vertices(from);
        auto const first = neighbours;
        do {
            if (!triangulation_.is_infinite(neighbours)
                && CGAL::orientation(from->point(), to->point(), neighbours->point()) == CGAL::COLLINEAR
                && CGAL::collinear_are_strictly_ordered_along_line(from->point(), neighbours->point(),
                                                                   to->point()))
                return neighbours;
        } while (++neighbours != first);
        throw SubsegmentsCross();
    }

    // CGAL's constraint hierarchy (which tracks every segment through crossings and splits) costs
    // several microseconds and a few allocations per segment. A segment that is an edge of the
    // triangulation once all others are in cannot cross anything nor pass through a vertex, so
    // it is only flagged and keeps no history. Segments that are no edge yet go through the
    // hierarchy, which may flip away edges found before, so the split is repeated until it
    // holds. Only refinement that splits segments needs the history of all of them.
    void insertSegments()
    {
        std::size_t const count = segments_.size() / 2;
        constraints_.assign(count, ConstraintId(nullptr));
        flaggedOnly_.assign(count, false);
        std::vector<std::size_t> pending;
        for (std::size_t s = 0; s < count; ++s) {
            if (segmentStart(s) != segmentEnd(s)) // between duplicate positions: a point, no segment
                pending.push_back(s);
        }
        if (switches_.quality && !switches_.noSegmentSplitting) {
            for (std::size_t s : pending)
                constraints_[s] = triangulation_.insert_constraint(segmentStart(s), segmentEnd(s));
            return;
        }
        for (int round = 0; !pending.empty(); ++round) {
            std::vector<std::size_t> edges;
            std::vector<std::size_t> others;
            for (std::size_t s : pending) {
                FaceHandle f;
                int i = 0;
                bool const edge = triangulation_.is_edge(segmentStart(s), segmentEnd(s), f, i);
                (edge ? edges : others).push_back(s);
            }
            if (others.empty())
                break;
            // Each round costs a pass over the rest; a few rounds settle ordinary input.
            if (round == MAXIMUM_SEGMENT_ROUNDS) {
                others = pending;
                edges.clear();
            }
            for (std::size_t s : others)
                constraints_[s] = triangulation_.insert_constraint(segmentStart(s), segmentEnd(s));
            pending.swap(edges);
        }
        for (std::size_t s : pending) {
            FaceHandle f;
            int i = 0;
            triangulation_.is_edge(segmentStart(s), segmentEnd(s), f, i);
            f->set_constraint(i, true);
            f->neighbor(i)->set_constraint(triangulation_.mirror_index(f, i), true);
            flaggedOnly_[s] = true;
        }
    }

    VertexHandle segmentStart(std::size_t s) const
    {
        return handles_[static_cast<std::size_t>(segments_[2 * s])];
    }

    VertexHandle segmentEnd(std::size_t s) const
    {
        return handles_[static_cast<std::size_t>(segments_[2 * s + 1])];
    }

    // What the classic generator does without its convex-hull switch: every triangle reachable
    // from the outside without crossing a segment is eaten; enclosed areas stay. Without p there
    // are no constraints to stop at, so the whole hull is kept.
    void markKeptFaces()
    {
        std::vector<FaceHandle> stack;
        for (auto f = triangulation_.all_faces_begin(); f != triangulation_.all_faces_end(); ++f) {
            bool const infinite = triangulation_.is_infinite(f);
            f->set_in_domain(!infinite);
            if (infinite)
                stack.push_back(f);
        }
        if (!switches_.segmentsConstrain)
            return;
        while (!stack.empty()) {
            FaceHandle f = stack.back();
            stack.pop_back();
            for (int i = 0; i < 3; ++i) {
                FaceHandle neighbour = f->neighbor(i);
                if (neighbour->is_in_domain() && !f->is_constrained(i)) {
                    neighbour->set_in_domain(false);
                    stack.push_back(neighbour);
                }
            }
        }
    }

    std::size_t vertexBudget(double keptArea) const
    {
        std::size_t budget = std::max(MINIMUM_VERTEX_BUDGET,
                                      VERTEX_BUDGET_PER_INPUT_POINT * inputCount_);
        if (switches_.areaBound) {
            // Room for about twice the triangles the bound needs at least; capped so that an
            // absurd bound fails on the budget rather than overflowing it.
            double const needed = std::ceil(4.0 * keptArea / switches_.maximumArea);
            budget += static_cast<std::size_t>(std::min(needed, 1e12));
        }
        return budget;
    }

    // Without p nothing bounds the mesher's domain; the convex hull's edges do that instead.
    void constrainConvexHull()
    {
        std::vector<std::pair<VertexHandle, VertexHandle>> hull;
        auto faces = triangulation_.incident_faces(triangulation_.infinite_vertex());
        auto const first = faces;
        do {
            int const i = faces->index(triangulation_.infinite_vertex());
            hull.emplace_back(faces->vertex(Tr::ccw(i)),
                              faces->vertex(Tr::cw(i)));
        } while (++faces != first);
        for (auto const& edge : hull)
            triangulation_.insert_constraint(edge.first, edge.second);
    }

    void refine()
    {
        if (!switches_.segmentsConstrain)
            constrainConvexHull();
        markKeptFaces();
        double keptArea = 0.0;
        for (auto f = triangulation_.finite_faces_begin(); f != triangulation_.finite_faces_end(); ++f) {
            if (f->is_in_domain())
                keptArea += faceArea(f);
        }
        std::size_t const budget = vertexBudget(keptArea);
        vertexLimit_ = triangulation_.number_of_vertices() + budget;

        double sineSquared = 0.0;
        if (switches_.quality) {
            double const angle = std::min(switches_.minimumAngle, MAXIMUM_REFINABLE_ANGLE);
            double const sine = std::sin(angle * PI / 180.0);
            sineSquared = angle > 0.0 ? sine * sine : 0.0;
        }
        if (switches_.quality && !switches_.noSegmentSplitting)
            splitAroundSmallAngles();
        RefinementCriteria const criteria(sineSquared,
                                          switches_.areaBound ? switches_.maximumArea : 0.0);
        if (switches_.noSegmentSplitting) {
            CGAL::Delaunay_mesher_no_edge_refinement_2<Triangulation, RefinementCriteria> mesher(
                triangulation_, criteria);
            refineWith(mesher, budget);
        } else {
            CGAL::Delaunay_mesher_2<Triangulation, RefinementCriteria> mesher(triangulation_,
                                                                              criteria);
            refineWith(mesher, budget);
        }
    }

    // Where segments meet at a small angle the mesher stops splitting the sub-segments at the
    // apex once they are of equal length, and every triangle whose circumcentre falls in such a
    // sub-segment's diametral circle stays bad, however far from the apex. Splitting them first
    // at equal distances from the apex (powers of two, as concentric shells) keeps the
    // sub-segments at the apex short, so the unrefinable triangles stay close to it, and keeps the splits on both
    // sides of the angle in step.
    void splitAroundSmallAngles()
    {
        std::vector<VertexHandle> candidates;
        for (auto v = triangulation_.finite_vertices_begin(); v != triangulation_.finite_vertices_end(); ++v)
            candidates.push_back(v);
        for (VertexHandle apex : candidates)
            splitAroundApex(apex);
    }

    void splitAroundApex(VertexHandle apex)
    {
        // Constrained edges at the apex, by direction.
        std::vector<std::pair<double, VertexHandle>> spokes;
        auto edges = triangulation_.incident_edges(apex);
        if (edges == nullptr)
            return;
        auto const first = edges;
        do {
            if (!triangulation_.is_infinite(*edges) && edges->first->is_constrained(edges->second)) {
                FaceHandle f = edges->first;
                int const i = edges->second;
                VertexHandle other = f->vertex(Tr::ccw(i)) == apex
                                         ? f->vertex(Tr::cw(i))
                                         : f->vertex(Tr::ccw(i));
                double const angle = std::atan2(other->point().y() - apex->point().y(),
                                                other->point().x() - apex->point().x());
                spokes.emplace_back(angle, other);
            }
        } while (++edges != first);
        if (spokes.size() < 2)
            return;
        std::sort(spokes.begin(), spokes.end(),
                  [](auto const& a, auto const& b) { return a.first < b.first; });
        double const limit = SMALL_INPUT_ANGLE * PI / 180.0;
        std::vector<bool> narrow(spokes.size(), false);
        for (std::size_t k = 0; k < spokes.size(); ++k) {
            std::size_t const next = (k + 1) % spokes.size();
            double gap = spokes[next].first - spokes[k].first;
            if (next == 0)
                gap += 2.0 * PI;
            if (gap < limit)
                narrow[k] = narrow[next] = true;
        }
        double shortest = std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < spokes.size(); ++k) {
            if (narrow[k])
                shortest = std::min(shortest, std::sqrt(CGAL::to_double(
                                                  CGAL::squared_distance(apex->point(), spokes[k].second->point()))));
        }
        if (!std::isfinite(shortest))
            return;
        double const outermost = std::ldexp(1.0, static_cast<int>(std::floor(std::log2(shortest / 4.0))));
        for (std::size_t k = 0; k < spokes.size(); ++k) {
            if (narrow[k])
                putShells(apex, spokes[k].second, outermost);
        }
    }

    // Splits the constrained edge apex-end at the shell radii; each new vertex is inserted into the
    // edge itself, so the constraint stays one chain however the coordinates round.
    void putShells(VertexHandle apex, VertexHandle end, double outermost)
    {
        Point const a = apex->point();
        Point const b = end->point();
        double const length = std::sqrt(CGAL::to_double(CGAL::squared_distance(a, b)));
        VertexHandle current = end;
        double radius = outermost;
        for (int shell = 0; shell < SHELL_COUNT; ++shell, radius *= 0.5) {
            if (!(radius < length))
                continue;
            double const t = radius / length;
            Point const p(a.x() + t * (b.x() - a.x()), a.y() + t * (b.y() - a.y()));
            FaceHandle f;
            int i = 0;
            if (!triangulation_.is_edge(apex, current, f, i))
                return;
            current = triangulation_.insert(p, Triangulation::EDGE, f, i);
        }
    }

    // The mesher refines only what it may; with Y it leaves oversized triangles whose
    // circumcentres would land on or beyond a segment. Those get their centroids, which lie
    // strictly inside them, and the mesher runs again until every kept triangle is small enough.
    template <typename Mesher>
    void refineWith(Mesher& mesher, std::size_t budget)
    {
        for (;;) {
            runMesher(mesher, budget);
            if (!switches_.areaBound)
                return;
            markKeptFaces();
            std::vector<Point> centroids;
            for (auto f = triangulation_.finite_faces_begin(); f != triangulation_.finite_faces_end(); ++f) {
                if (f->is_in_domain() && faceArea(f) > switches_.maximumArea)
                    centroids.push_back(CGAL::centroid(f->vertex(0)->point(), f->vertex(1)->point(),
                                                       f->vertex(2)->point()));
            }
            if (centroids.empty())
                return;
            std::size_t inserted = 0;
            FaceHandle hint;
            for (Point const& centroid : centroids) {
                checkBudget(budget);
                Triangulation::Locate_type type;
                int index = 0;
                FaceHandle f = triangulation_.locate(centroid, type, index, hint);
                bool const free = type == Triangulation::FACE
                                  || (type == Triangulation::EDGE && !f->is_constrained(index));
                if (!free)
                    continue;
                VertexHandle v = triangulation_.insert(centroid, type, f, index);
                hint = v->face();
                ++inserted;
            }
            if (inserted == 0)
                throw TriangleProcessError(
                    "Area refinement cannot split the triangles larger than "
                    + formatNumber(switches_.maximumArea) + " without touching a segment");
        }
    }

    template <typename Mesher>
    void runMesher(Mesher& mesher, std::size_t budget)
    {
        markKeptFaces();
        mesher.init(true);
        while (!mesher.is_refinement_done()) {
            checkBudget(budget);
            mesher.step_by_step_refine_mesh();
        }
    }

    void checkBudget(std::size_t budget) const
    {
        if (triangulation_.number_of_vertices() < vertexLimit_)
            return;
        std::string goal;
        if (switches_.quality)
            goal = "a minimum angle of "
                   + formatNumber(std::min(switches_.minimumAngle, MAXIMUM_REFINABLE_ANGLE))
                   + " degrees";
        if (switches_.areaBound)
            goal += (goal.empty() ? "" : " and ") + std::string("a maximum area of ")
                    + formatNumber(switches_.maximumArea);
        throw TriangleProcessError("Refinement towards " + goal + " did not finish within "
                                   + std::to_string(budget) + " new vertices");
    }

    // Markers go onto the sub-edges of each marked segment in segment order; the first non-zero
    // marker on an edge stays. A flagged segment is its own edge; the others' sub-edges come from
    // the constraint hierarchy, which follows crossings, vertices on segments and refinement
    // splits. Runs after numbering, on output
    // indices.
    void markSegmentEdges()
    {
        if constexpr (!WITH_HISTORY) {
            std::size_t const count = segments_.size() / 2;
            segmentMarkerOf_.reserve(meshChain_.size());
            for (std::size_t s = 0; s < count; ++s) {
                int const marker = segmentMarkers_[s];
                if (marker == 0)
                    continue;
                for (std::size_t k = meshChainStart_[s]; k + 1 < meshChainStart_[s + 1]; ++k) {
                    int const from = meshChain_[k]->info().output;
                    int const to = meshChain_[k + 1]->info().output;
                    if (from >= 0 && to >= 0)
                        segmentMarkerOf_.insert(from, to, marker);
                }
            }
        } else {
            markConstraintEdges();
        }
    }

    void markConstraintEdges()
    {
        segmentMarkerOf_.reserve(constraints_.size());
        for (std::size_t s = 0; s < constraints_.size(); ++s) {
            int const marker = segmentMarkers_[s];
            if (marker == 0)
                continue;
            if (flaggedOnly_[s]) {
                int const start = segmentStart(s)->info().output;
                int const end = segmentEnd(s)->info().output;
                if (start >= 0 && end >= 0)
                    segmentMarkerOf_.insert(start, end, marker);
                continue;
            }
            if (constraints_[s] == ConstraintId(nullptr))
                continue;
            auto it = triangulation_.vertices_in_constraint_begin(constraints_[s]);
            auto const end = triangulation_.vertices_in_constraint_end(constraints_[s]);
            int previous = (*it)->info().output;
            for (++it; it != end; ++it) {
                int const current = (*it)->info().output;
                if (previous >= 0 && current >= 0)
                    segmentMarkerOf_.insert(previous, current, marker);
                previous = current;
            }
        }
    }

    bool hasTriangles() const { return triangulation_.dimension() == 2; }

    // Input vertices first, in input order (each position once, under its lowest index), then
    // created ones in order of creation. The vertex blocks are walked in storage order and the
    // input order is kept in a flat array: looking every input index up through its handle
    // would miss the cache once per point.
    void numberVertices(MeshOutput& output)
    {
        keptFaces_ = 0;
        if (hasTriangles()) {
            for (auto f = triangulation_.finite_faces_begin(); f != triangulation_.finite_faces_end(); ++f) {
                if (f->is_in_domain()) {
                    ++keptFaces_;
                    for (int i = 0; i < 3; ++i)
                        f->vertex(i)->info().output = USED;
                }
            }
        }
        bool const dropUnused = switches_.dropUnusedVertices;
        constexpr int DUPLICATE = -1;      // another input index stands for the position
        constexpr int UNUSED = -3;         // stands for its position, in no kept triangle
        std::vector<int, tin::support::HugePageAllocatorT<int>> outputOf(inputCount_, DUPLICATE);
        std::vector<VertexHandle, tin::support::HugePageAllocatorT<VertexHandle>> created;
        for (auto v = triangulation_.finite_vertices_begin(); v != triangulation_.finite_vertices_end(); ++v) {
            VertexInfo const& info = v->info();
            if (info.input >= 0)
                outputOf[static_cast<std::size_t>(info.input)] = info.output == USED ? USED : UNUSED;
            else if (WITH_HISTORY && (!dropUnused || info.output == USED))
                created.push_back(v);
        }
        if constexpr (!WITH_HISTORY) {
            // Every created vertex is the crossing of its own rank (or of a lower one at the same
            // position), so the ranks give the order of creation without a sort.
            for (std::size_t rank = 0; inputCount_ + rank < handles_.size(); ++rank) {
                VertexHandle const v = handles_[inputCount_ + rank];
                VertexInfo const& info = v->info();
                if (info.input == -static_cast<int>(rank + 1) && (!dropUnused || info.output == USED))
                    created.push_back(v);
            }
        }
        int next = 0;
        for (std::size_t i = 0; i < inputCount_; ++i) {
            int& index = outputOf[i];
            if (dropUnused && index != USED) {
                index = -1;
                continue;
            }
            index = next++;
        }
        if constexpr (WITH_HISTORY) {
            std::sort(created.begin(), created.end(), [](VertexHandle a, VertexHandle b) {
                return a->info().input > b->info().input; // -stamp: later creations are lower
            });
        }

        output.points.allocate(2 * (static_cast<std::size_t>(next) + created.size()));
        double* xy = output.points.data();
        for (std::size_t i = 0; i < inputCount_; ++i) {
            int const index = outputOf[i];
            if (index < 0)
                continue;
            xy[2 * index] = points_[2 * i];
            xy[2 * index + 1] = points_[2 * i + 1];
        }
        for (auto v = triangulation_.finite_vertices_begin(); v != triangulation_.finite_vertices_end(); ++v) {
            VertexInfo& info = v->info();
            if (info.input >= 0)
                info.output = outputOf[static_cast<std::size_t>(info.input)];
        }
        for (VertexHandle v : created) {
            v->info().output = next;
            xy[2 * next] = v->point().x();
            xy[2 * next + 1] = v->point().y();
            ++next;
        }
    }

    void collectTriangles(MeshOutput& output)
    {
        if (!hasTriangles())
            return;
        int const base = switches_.zeroBased ? 0 : 1;
        output.triangles.allocate(3 * keptFaces_);
        int* corner = output.triangles.data();
        for (auto f = triangulation_.finite_faces_begin(); f != triangulation_.finite_faces_end(); ++f) {
            if (!f->is_in_domain())
                continue;
            for (int i = 0; i < 3; ++i)
                *corner++ = f->vertex(i)->info().output + base;
        }
    }

    // Each edge once: an inner edge is seen from both sides, in opposite directions, and taken
    // from the side where it runs from the lower to the higher index.
    void collectEdges(MeshOutput& output)
    {
        if (!hasTriangles())
            return;
        int const base = switches_.zeroBased ? 0 : 1;
        // Each kept face lists at most its three sides.
        output.edges.allocate(6 * keptFaces_);
        output.edgeMarkers.allocate(3 * keptFaces_);
        int* ends = output.edges.data();
        int* markers = output.edgeMarkers.data();
        for (auto f = triangulation_.finite_faces_begin(); f != triangulation_.finite_faces_end(); ++f) {
            if (!f->is_in_domain())
                continue;
            for (int i = 0; i < 3; ++i) {
                bool const boundary = !f->neighbor(i)->is_in_domain();
                int const from = f->vertex(Tr::ccw(i))->info().output;
                int const to = f->vertex(Tr::cw(i))->info().output;
                if (!boundary && from > to)
                    continue;
                *ends++ = from + base;
                *ends++ = to + base;
                int marker = boundary ? 1 : 0;
                // Segment edges are constrained; no other edge needs the lookup.
                if (f->is_constrained(i))
                    marker = segmentMarkerOf_.find(from, to, marker);
                *markers++ = marker;
            }
        }
        output.edgeCount = static_cast<std::size_t>(markers - output.edgeMarkers.data());
    }

    TriangleSwitches const& switches_;
    std::vector<double> const& points_;
    std::vector<int> const& segments_;
    std::vector<int> const& segmentMarkers_;
    std::size_t const inputCount_;
    SegmentSplitter::Rounds const rounds_;
    Tr triangulation_;
    std::vector<VertexHandle, tin::support::HugePageAllocatorT<VertexHandle>> handles_; // input, then created
    SegmentSplitter::Result split_;
    std::vector<char, tin::support::HugePageAllocatorT<char>> oneEdge_; // per chain index: its subsegment is one edge
    std::vector<VertexHandle, tin::support::HugePageAllocatorT<VertexHandle>> meshChain_; // along marked segments
    std::vector<std::size_t, tin::support::HugePageAllocatorT<std::size_t>> meshChainStart_;
    std::vector<ConstraintId> constraints_;
    std::vector<bool> flaggedOnly_; // segment is one edge, flagged without the hierarchy
    EdgeMarkerTable segmentMarkerOf_;
    std::size_t vertexLimit_ = 0;
    std::size_t keptFaces_ = 0;
};

} // namespace

MeshOutput ConstrainedMesher::run(TriangleSwitches const& switches,
                                  std::vector<double> const& points,
                                  std::vector<int> const& segments,
                                  std::vector<int> const& segmentMarkers, Insertion insertion)
{
    // A broken CGAL expectation (checked in debug builds) or exhausted memory is reported like
    // any other failed triangulation, so callers that recover from one recover from these too.
    try {
        if (insertion == Insertion::Subsegments && !switches.quality && !switches.areaBound) {
            // Cut once and let the triangulation find what rounding left crossing; only
            // near-degenerate input pays for a second run that settles the subsegments first.
            for (SegmentSplitter::Rounds rounds :
                 {SegmentSplitter::Rounds::One, SegmentSplitter::Rounds::UntilSettled}) {
                try {
                    return MeshBuilder<SplitTriangulation>(switches, points, segments,
                                                           segmentMarkers, rounds)
                        .build();
                } catch (SubsegmentsCross const&) {
                }
            }
        }
        return MeshBuilder<Triangulation>(switches, points, segments, segmentMarkers).build();
    } catch (CGAL::Failure_exception const& failure) {
        throw TriangleProcessError(std::string("Triangulation failed: ") + failure.what());
    } catch (std::bad_alloc const&) {
        throw TriangleProcessError("Out of memory in the triangulation of "
                                   + std::to_string(points.size() / 2) + " points and "
                                   + std::to_string(segments.size() / 2) + " segments");
    }
}

} // namespace trianglecui
