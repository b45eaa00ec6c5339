// Every routine here opens with a comment block: the checker passes it.
#include <cmath>

namespace demo {

namespace {

// Square of x.
// Given: x any; Returns: x * x.
double Square(double x) { return x * x; }
// Cube of x, under the block above: one-line routines may share one block.
double Cube(double x) { return x * x * x; }

// A table, not a routine: no block needed.
constexpr double kTable[] = {1.0, 2.0};

// A lambda at namespace level is a variable, not a routine.
const auto kTwice = [](double x) { return 2 * x; };

}  // namespace

struct Point {
  double x = 0, y = 0;
  double Norm() const { return std::hypot(x, y); }  // in-class: not checked
  Point Scaled(double k) const;
  explicit Point(double a);
};

// Point scaled by k.
// Given: k any; Returns: the point (k x, k y).
Point Point::Scaled(double k) const {
  Point p(k * x);
  p.y = k * y;
  return p;
}

// A point on the x axis.
// Given: a the abscissa.
Point::Point(double a)
    : x{a}, y(0) {
  if (a < 0) x = -a;
}

// The larger of two values, over a signature of several lines.
// Given: a, b; Returns: the larger.
template <class T>
T Larger(const T& a,
         const T& b) {
  for (int i = 0; i < 1; ++i) {
    if (a < b) return b;
  }
  return a;
}

// The sum of a table's values.
// Returns: kTable[0] + kTable[1], with "{braces}" in a string: '{'.
double TableSum() {
  const char* text = "}{";  /* { in a comment */
  (void)text;
  return kTable[0] + kTable[1] + Square(1) + Cube(1) + kTwice(0);
}

}  // namespace demo
