// Routines with no comment block, or a block of one line only: the checker
// names each one.
namespace demo {

namespace {

// One line is not a block.
double AnonymousHalf(double x) { return x / 2; }

}  // namespace

struct Box {
  double w = 0;
  double Area(double h) const;
};

double Box::Area(double h) const {
  return w * h;
}

// Covered: a block of two lines
// above the signature.
double Covered(double a) { return a; }

double AfterBlank(double a) { return -a; }  // a blank line parts it from the block

double LongSignature(double first,
                     double second,
                     double third) {
  return first + second + third;
}

// Only one comment line, then a blank line.

// A template with one line of comment above it.
template <class T>
T Identity(T t) {
  return t;
}

}  // namespace demo
