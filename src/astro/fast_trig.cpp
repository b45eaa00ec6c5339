#include "astro/fast_trig.h"

#include <emmintrin.h>

#include <cmath>

#include "astro/angles.h"

namespace novastra {

namespace {

// Two-part pi/2 (the first part has 33 bits, so n * kPio2Hi is exact for
// |n| < 2^20), 2/pi, and the constant that rounds to an integer by addition.
constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Lo = 6.07710050650619224932e-11;
constexpr double kInvPio2 = 6.36619772367581382433e-01;
constexpr double kShifter = 6755399441055744.0;  // 1.5 * 2^52
constexpr double kLimit = 1.0e6;

// Minimax coefficients of sin and cos on [-pi/4, pi/4] (fdlibm).
constexpr double kS1 = -1.66666666666666324348e-01, kS2 = 8.33333333332248946124e-03,
                 kS3 = -1.98412698298579493134e-04, kS4 = 2.75573137070700676789e-06,
                 kS5 = -2.50507602534068634195e-08, kS6 = 1.58969099521155010221e-10;
constexpr double kC1 = 4.16666666666666019037e-02, kC2 = -1.38888888888741095749e-03,
                 kC3 = 2.48015872894767294178e-05, kC4 = -2.75573143513906633035e-07,
                 kC5 = 2.08757232129817482790e-09, kC6 = -1.13596475577881948265e-11;

inline __m128d Set(double v) { return _mm_set1_pd(v); }
inline __m128d Mul(__m128d a, __m128d b) { return _mm_mul_pd(a, b); }
inline __m128d Add(__m128d a, __m128d b) { return _mm_add_pd(a, b); }
inline __m128d Sub(__m128d a, __m128d b) { return _mm_sub_pd(a, b); }

// cos(x + quadrantShift * pi/2) for two lanes with |x| < kLimit.
inline __m128d CosCore(__m128d x, int quadrantShift) {
  const __m128d t = Add(Mul(x, Set(kInvPio2)), Set(kShifter));
  const __m128d n = Sub(t, Set(kShifter));
  __m128i q = _mm_add_epi64(_mm_castpd_si128(t), _mm_set1_epi64x(quadrantShift));
  const __m128d r = Sub(Sub(x, Mul(n, Set(kPio2Hi))), Mul(n, Set(kPio2Lo)));
  const __m128d z = Mul(r, r);
  __m128d ps = Add(Set(kS5), Mul(z, Set(kS6)));
  ps = Add(Set(kS4), Mul(z, ps));
  ps = Add(Set(kS3), Mul(z, ps));
  ps = Add(Set(kS2), Mul(z, ps));
  ps = Add(Set(kS1), Mul(z, ps));
  const __m128d sinR = Add(r, Mul(Mul(r, z), ps));
  __m128d pc = Add(Set(kC5), Mul(z, Set(kC6)));
  pc = Add(Set(kC4), Mul(z, pc));
  pc = Add(Set(kC3), Mul(z, pc));
  pc = Add(Set(kC2), Mul(z, pc));
  pc = Add(Set(kC1), Mul(z, pc));
  const __m128d cosR = Sub(Set(1.0), Sub(Mul(Set(0.5), z), Mul(Mul(z, z), pc)));
  // cos(r + q*pi/2) is cos r, -sin r, -cos r, sin r for q = 0..3: odd quadrants
  // take the sine polynomial, quadrants 1 and 2 are negated.
  const __m128i odd = _mm_sub_epi64(_mm_setzero_si128(), _mm_and_si128(q, _mm_set1_epi64x(1)));
  const __m128d oddMask = _mm_castsi128_pd(odd);
  __m128d v = _mm_or_pd(_mm_and_pd(oddMask, sinR), _mm_andnot_pd(oddMask, cosR));
  q = _mm_slli_epi64(_mm_and_si128(_mm_add_epi64(q, _mm_set1_epi64x(1)), _mm_set1_epi64x(2)), 62);
  return _mm_xor_pd(v, _mm_castsi128_pd(q));
}

inline bool OutOfRange(__m128d x) {
  const __m128d absX = _mm_andnot_pd(Set(-0.0), x);
  return _mm_movemask_pd(_mm_cmpgt_pd(absX, Set(kLimit))) != 0;
}

inline __m128d Cos2(__m128d x, int quadrantShift) {
  if (OutOfRange(x)) {
    alignas(16) double v[2];
    _mm_store_pd(v, x);
    for (double& e : v) e = quadrantShift == 0 ? std::cos(e) : std::sin(e);
    return _mm_load_pd(v);
  }
  return CosCore(x, quadrantShift);
}

double SeriesSumSse2(const SeriesTerm* t, std::size_t n, double tau) {
  const __m128d tv = Set(tau);
  __m128d acc = _mm_setzero_pd();
  std::size_t i = 0;
  for (; i + 2 <= n; i += 2) {
    const __m128d a = _mm_set_pd(t[i + 1].A, t[i].A);
    const __m128d b = _mm_set_pd(t[i + 1].B, t[i].B);
    const __m128d c = _mm_set_pd(t[i + 1].C, t[i].C);
    acc = Add(acc, Mul(a, Cos2(Add(Mul(c, tv), b), 0)));
  }
  if (i < n) {
    const __m128d a = _mm_set_pd(0.0, t[i].A);
    const __m128d b = _mm_set_pd(0.0, t[i].B);
    const __m128d c = _mm_set_pd(0.0, t[i].C);
    acc = Add(acc, Mul(a, Cos2(Add(Mul(c, tv), b), 0)));
  }
  alignas(16) double lanes[2];
  _mm_store_pd(lanes, acc);
  return lanes[0] + lanes[1];
}

template <int Shift>
void BatchSse2(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 2 <= n; i += 2) _mm_storeu_pd(out + i, Cos2(_mm_loadu_pd(x + i), Shift));
  if (i < n) {
    alignas(16) double v[2] = {x[i], 0.0};
    _mm_store_pd(v, Cos2(_mm_load_pd(v), Shift));
    out[i] = v[0];
  }
}

double PowerSeriesSse2(const std::vector<SeriesTerm>* series, std::size_t count, double tau) {
  double total = 0, power = 1;
  for (std::size_t k = 0; k < count; ++k) {
    total += SeriesSumSse2(series[k].data(), series[k].size(), tau) * power;
    power *= tau;
  }
  return total;
}

// sin x = cos(x - pi/2): three quarter turns forward.
constexpr TrigKernels kSse2{"sse2", SeriesSumSse2, PowerSeriesSse2, BatchSse2<3>, BatchSse2<0>};

}  // namespace

const TrigKernels& Sse2Kernels() { return kSse2; }

void SinCosDegrees(const double* degrees, std::size_t n, double* sinOut, double* cosOut,
                   const TrigKernels* fast) {
  if (fast == nullptr) {
    for (std::size_t i = 0; i < n; ++i) {
      sinOut[i] = SinDeg(degrees[i]);
      cosOut[i] = CosDeg(degrees[i]);
    }
    return;
  }
  double radians[kMaxSinCosDegrees];
  for (std::size_t i = 0; i < n; ++i) radians[i] = (kPi * degrees[i]) / 180.0;
  fast->sinBatch(radians, sinOut, n);
  fast->cosBatch(radians, cosOut, n);
}

const TrigKernels& FastKernels() {
  static const TrigKernels* const chosen = [] {
    if (const TrigKernels* avx512 = Avx512Kernels()) return avx512;
    if (const TrigKernels* avx2 = Avx2Kernels()) return avx2;
    return &kSse2;
  }();
  return *chosen;
}

}  // namespace novastra
