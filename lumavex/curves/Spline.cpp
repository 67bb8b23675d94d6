#include "lumavex/curves/Spline.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <new>

#include "lumavex/curves/BasePoints.h"

namespace lumavex {
namespace {

// The sample count per curve (or per block) of the length estimate behind the frame sample count.
constexpr int kLengthSamples = 100;

// Degree, order and knot vector of the spline through n points. The interior knots sit at the
// base points except the second and the second-to-last (not-a-knot ends).
struct SplineShape {
  explicit SplineShape(int pointCount)
      : n(pointCount), p(pointCount >= 4 ? 3 : pointCount - 1), k(p + 1), h(k / 2 - 1) {}

  // κ(j): 0, …, 0, 2, 3, …, n − 3, n − 1, …, n − 1 for a cubic.
  double Knot(int j) const {
    if (j <= 0) return 0;
    if (j <= n - k) return j + h;
    return n - 1;
  }

  // The first of the p + 1 control points that carry weight at t.
  int Span(double t) const {
    if (n <= k) return 0;
    const double s = std::trunc(t) - h;
    if (!(s > 0)) return 0;
    if (s >= n - k) return n - k;
    return static_cast<int>(s);
  }

  int n;
  int p;
  int k;
  int h;
};

// The weights of control points span … span + p at one parameter.
struct BasisWeights {
  int span = 0;
  double weight[4] = {};
};

// Cox–de Boor on the table N[q][j]; a term whose knot difference is not positive is left out.
BasisWeights BasisAt(const SplineShape& shape, double t) {
  const int p = shape.p;
  const int s = shape.Span(t);
  double table[4][5] = {};
  table[0][p] = 1;
  for (int q = 1; q <= p; ++q) {
    for (int j = p - q; j <= p; ++j) {
      const int a = s - p + j;
      const double lowKnot = shape.Knot(a);
      const double highKnot = shape.Knot(a + q + 1);
      const double left = shape.Knot(a + q) - lowKnot;
      const double right = highKnot - shape.Knot(a + 1);
      double value = 0;
      if (left > 0) value = (t - lowKnot) / left * table[q - 1][j];
      if (right > 0) value += (highKnot - t) / right * table[q - 1][j + 1];
      table[q][j] = value;
    }
  }
  BasisWeights basis;
  basis.span = s;
  for (int j = 0; j <= p; ++j) basis.weight[j] = table[p][j];
  return basis;
}

// BasisAt for many parameters in turn: the knots and knot differences of a span are
// worked out when the span changes, and the arithmetic on t is BasisAt's, term by term.
class SpanBasis {
 public:
  explicit SpanBasis(const SplineShape& shape) : shape_(shape) {}

  BasisWeights At(double t) {
    const int p = shape_.p;
    const int s = shape_.Span(t);
    if (s != span_) Prepare(s);
    double table[4][5] = {};
    table[0][p] = 1;
    for (int q = 1; q <= p; ++q) {
      for (int j = p - q; j <= p; ++j) {
        const Term& term = terms_[q][j];
        double value = 0;
        if (term.left > 0) value = (t - term.lowKnot) / term.left * table[q - 1][j];
        if (term.right > 0) value += (term.highKnot - t) / term.right * table[q - 1][j + 1];
        table[q][j] = value;
      }
    }
    BasisWeights basis;
    basis.span = s;
    for (int j = 0; j <= p; ++j) basis.weight[j] = table[p][j];
    return basis;
  }

 private:
  struct Term {
    double lowKnot = 0, highKnot = 0, left = 0, right = 0;
  };
  void Prepare(int s) {
    const int p = shape_.p;
    for (int q = 1; q <= p; ++q) {
      for (int j = p - q; j <= p; ++j) {
        const int a = s - p + j;
        Term& term = terms_[q][j];
        term.lowKnot = shape_.Knot(a);
        term.highKnot = shape_.Knot(a + q + 1);
        term.left = shape_.Knot(a + q) - term.lowKnot;
        term.right = term.highKnot - shape_.Knot(a + 1);
      }
    }
    span_ = s;
  }

  const SplineShape& shape_;
  int span_ = -1;
  Term terms_[4][4] = {};
};

// The collocation matrix of the spline, factorised in place into a unit lower triangle (below the
// diagonal) and an upper triangle. A banded row holds k values from its span start; entries
// outside that range are zero and elimination never creates one there, since the span starts
// never decrease from row to row.
class Collocation {
 public:
  Collocation(const SplineShape& shape, CollocationLayout layout)
      : n_(shape.n),
        dense_(layout == CollocationLayout::Dense || shape.n <= shape.k),
        width_(dense_ ? shape.n : shape.k),
        first_(shape.n),
        values_(static_cast<size_t>(shape.n) * width_, 0.0) {
    for (int row = 0; row < n_; ++row) {
      const BasisWeights basis = BasisAt(shape, row);
      first_[row] = basis.span;
      for (int j = 0; j <= shape.p; ++j) At(row, basis.span + j) = basis.weight[j];
    }
  }

  // Gaussian elimination without pivoting; a zero multiplier leaves its row as it is.
  void Factorise() {
    for (int column = 0; column < n_; ++column) {
      const double pivot = At(column, column);
      for (int row = column + 1; row < n_ && Begin(row) <= column; ++row) {
        const double multiplier = At(row, column) / pivot;
        if (multiplier == 0) continue;
        At(row, column) = multiplier;
        for (int j = column + 1; j < End(column); ++j) At(row, j) -= multiplier * At(column, j);
      }
    }
  }

  // Replaces the right-hand side by the solution: forward, then back substitution.
  void Solve(std::vector<double>& values) const {
    for (int i = 0; i < n_; ++i) {
      double sum = values[i];
      for (int j = Begin(i); j < i; ++j) sum -= At(i, j) * values[j];
      values[i] = sum;
    }
    for (int i = n_ - 1; i >= 0; --i) {
      double sum = values[i];
      for (int j = i + 1; j < End(i); ++j) sum -= At(i, j) * values[j];
      values[i] = sum / At(i, i);
    }
  }

 private:
  int Begin(int row) const { return dense_ ? 0 : first_[row]; }
  int End(int row) const { return dense_ ? n_ : first_[row] + width_; }
  double& At(int row, int column) {
    return values_[static_cast<size_t>(row) * width_ + (column - Begin(row))];
  }
  double At(int row, int column) const {
    return values_[static_cast<size_t>(row) * width_ + (column - Begin(row))];
  }

  int n_;
  bool dense_;
  int width_;
  std::vector<int> first_;
  std::vector<double> values_;
};

Sample Weighted(const SplineShape& shape, const BasisWeights& basis,
               std::span<const Sample> control) {
  Sample sample;
  for (int j = 0; j <= shape.p; ++j) {
    sample.x += basis.weight[j] * control[basis.span + j].x;
    sample.y += basis.weight[j] * control[basis.span + j].y;
  }
  return sample;
}

Sample Evaluate(const SplineShape& shape, std::span<const Sample> control, double t) {
  return Weighted(shape, BasisAt(shape, t), control);
}

int CountForLength(double length, int pointSpacing) {
  if (pointSpacing < 1) return 0;
  const double count = length * 100 / pointSpacing;
  if (!(count > 0)) return 0;
  if (count >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(count);
}

}  // namespace

double PolylineLength(std::span<const Sample> samples) {
  double length = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    const double dx = samples[i].x - samples[i - 1].x;
    const double dy = samples[i].y - samples[i - 1].y;
    length += std::sqrt(dx * dx + dy * dy);
  }
  return length;
}

std::vector<Sample> SplineControlPoints(std::span<const Sample> points, CollocationLayout layout) {
  const int n = static_cast<int>(points.size());
  if (n < 2) return {points.begin(), points.end()};
  const SplineShape shape(n);
  Collocation matrix(shape, layout);
  matrix.Factorise();
  std::vector<double> xs(n);
  std::vector<double> ys(n);
  for (int i = 0; i < n; ++i) {
    xs[i] = points[i].x;
    ys[i] = points[i].y;
  }
  matrix.Solve(xs);
  matrix.Solve(ys);
  std::vector<Sample> control(n);
  for (int i = 0; i < n; ++i) control[i] = {xs[i], ys[i]};
  return control;
}

std::vector<Sample> SplineSamples(std::span<const Sample> points, int m) {
  if (m < 1 || points.empty()) return {};
  if (m == 1 || points.size() == 1) return std::vector<Sample>(m, points.front());
  const int n = static_cast<int>(points.size());
  const SplineShape shape(n);
  const std::vector<Sample> control = SplineControlPoints(points);
  const double step = static_cast<double>(n - 1) / (m - 1);
  std::vector<Sample> samples(m);
  for (int r = 0; r < m; ++r) samples[r] = Evaluate(shape, control, r * step);
  return samples;
}

std::pair<std::vector<Sample>, std::vector<Sample>> SplineSamplePair(
    std::span<const Sample> first, std::span<const Sample> second, int m) {
  if (first.size() != second.size() || first.size() < 2 || m < 2)
    return {SplineSamples(first, m), SplineSamples(second, m)};
  const int n = static_cast<int>(first.size());
  const SplineShape shape(n);
  const std::vector<Sample> control1 = SplineControlPoints(first);
  const std::vector<Sample> control2 = SplineControlPoints(second);
  const double step = static_cast<double>(n - 1) / (m - 1);
  std::pair<std::vector<Sample>, std::vector<Sample>> samples{std::vector<Sample>(m),
                                                              std::vector<Sample>(m)};
  SpanBasis spanBasis(shape);
  for (int r = 0; r < m; ++r) {
    const BasisWeights basis = spanBasis.At(r * step);
    samples.first[r] = Weighted(shape, basis, control1);
    samples.second[r] = Weighted(shape, basis, control2);
  }
  return samples;
}

Sample SplineSampleAt(std::span<const Sample> points, double fraction) {
  if (points.empty()) return {};
  if (points.size() == 1) return points.front();
  const int n = static_cast<int>(points.size());
  const std::vector<Sample> control = SplineControlPoints(points);
  return Evaluate(SplineShape(n), control, (n - 1) * fraction);
}

std::vector<Sample> ChainPoints(const common::ChainList& lists, common::ChainHandle chain) {
  std::vector<Sample> points;
  if (!lists.IsList(chain)) return points;
  points.reserve(lists.Count(chain));
  for (common::ChainLink* link = lists.First(chain); link; link = lists.Next(chain, link)) {
    const BasePoint* point = PointOf(link);
    points.push_back({point->x, point->y});
  }
  return points;
}

int FrameSampleCount(std::span<const Sample> basePoints, int pointSpacing) {
  if (basePoints.size() < 2 || pointSpacing < 1) return 0;
  return CountForLength(PolylineLength(SplineSamples(basePoints, kLengthSamples)), pointSpacing);
}

std::vector<Sample> BlockSpline(DrawingContext& context,
                                std::span<const std::vector<TabletSample>> blocks, int m) {
  const size_t perBlock = m > 0 ? static_cast<size_t>(m) : 0;
  std::vector<Sample> samples;
  try {
    samples.reserve(perBlock * blocks.size());
    std::vector<Sample> points;
    for (const std::vector<TabletSample>& block : blocks) {
      if (block.empty()) context.FatalError();
      points.clear();
      for (const TabletSample& s : block) points.push_back({s.x, s.y});
      const std::vector<Sample> part = SplineSamples(points, m);
      samples.insert(samples.end(), part.begin(), part.end());
    }
  } catch (const std::bad_alloc&) {
    context.FatalError();
  }
  return samples;
}

int FrameSampleCountOfBlocks(DrawingContext& context,
                             std::span<const std::vector<TabletSample>> blocks, int pointSpacing) {
  const std::vector<Sample> samples = BlockSpline(context, blocks, kLengthSamples);
  return CountForLength(PolylineLength(samples), pointSpacing);
}

}  // namespace lumavex
