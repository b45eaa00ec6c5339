// AVX2 + FMA variant of the fast kernels. Only the functions in this file are
// compiled for AVX2 (by target attribute), and they are called only after the
// processor has been checked, so the program still runs on any x86-64.
//
// Both sine and cosine go through one odd polynomial: x + h*pi = k*pi + r with
// |r| <= pi/2 (h = 1/2 for the cosine), so the result is (-1)^k sin r.
#include <immintrin.h>

#include <cmath>
#include <cstddef>
#include <vector>

#include "astro/fast_trig.h"

#define NOVASTRA_AVX2 __attribute__((target("avx2,fma")))

namespace novastra {

namespace {

static_assert(sizeof(SeriesTerm) == 3 * sizeof(double), "terms are read as packed triples");

// pi in three parts; the first two have 30 bits, so m * part is exact for the
// half-integers m that occur below |x| < kLimit.
constexpr double kPi1 = 3.141592651605606, kPi2 = 1.9841871583270443e-09,
                 kPi3 = 1.034036596358821e-18;
constexpr double kInvPi = 0.3183098861837907;
constexpr double kShifter = 6755399441055744.0;  // 1.5 * 2^52: rounds to an integer by addition
constexpr double kLimit = 1.0e6;

// Taylor coefficients of sin r / r - 1, over r^2; up to r^21 the remainder is
// below 2e-18 for |r| <= pi/2.
constexpr double kSin[10] = {-0.16666666666666666,    0.008333333333333333,  -0.0001984126984126984,
                             2.7557319223985893e-06,  -2.505210838544172e-08, 1.6059043836821613e-10,
                             -7.647163731819816e-13,  2.8114572543455206e-15, -8.22063524662433e-18,
                             1.9572941063391263e-20};

NOVASTRA_AVX2 inline __m256d Set(double v) { return _mm256_set1_pd(v); }

// sin(x + h*pi) for four lanes, |x| < kLimit.
NOVASTRA_AVX2 inline __m256d SinCore(__m256d x, double h) {
  const __m256d t = _mm256_add_pd(_mm256_fmadd_pd(x, Set(kInvPi), Set(h)), Set(kShifter));
  const __m256d m = _mm256_sub_pd(_mm256_sub_pd(t, Set(kShifter)), Set(h));
  __m256d r = _mm256_fnmadd_pd(m, Set(kPi1), x);
  r = _mm256_fnmadd_pd(m, Set(kPi2), r);
  r = _mm256_fnmadd_pd(m, Set(kPi3), r);
  const __m256d z = _mm256_mul_pd(r, r);
  __m256d p = Set(kSin[9]);
  for (int i = 8; i >= 0; --i) p = _mm256_fmadd_pd(z, p, Set(kSin[i]));
  const __m256d s = _mm256_fmadd_pd(_mm256_mul_pd(r, z), p, r);
  // The parity of k sits in the lowest bit of t; move it to the sign.
  const __m256i sign = _mm256_slli_epi64(_mm256_castpd_si256(t), 63);
  return _mm256_xor_pd(s, _mm256_castsi256_pd(sign));
}

NOVASTRA_AVX2 inline __m256d Abs(__m256d x) { return _mm256_andnot_pd(Set(-0.0), x); }

NOVASTRA_AVX2 inline bool AnyAbove(__m256d maxAbs, double limit) {
  return _mm256_movemask_pd(_mm256_cmp_pd(maxAbs, Set(limit), _CMP_GT_OQ)) != 0;
}

// C*tau + B rounded twice, as the scalar code does: the empty asm keeps the
// compiler from fusing the product and the sum into one FMA.
NOVASTRA_AVX2 inline __m256d Argument(__m256d c, __m256d tau, __m256d b) {
  __m256d product = _mm256_mul_pd(c, tau);
  asm("" : "+x"(product));
  return _mm256_add_pd(product, b);
}

double LibrarySeriesSum(const SeriesTerm* t, std::size_t n, double tau) {
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += t[i].A * std::cos(t[i].C * tau + t[i].B);
  return sum;
}

// Four packed (A, B, C) triples, as read from memory, into A, B and C vectors.
NOVASTRA_AVX2 inline void Transpose(__m256d v0, __m256d v1, __m256d v2, __m256d& a, __m256d& b,
                                    __m256d& c) {
  // v0 = A0 B0 | C0 A1, v1 = B1 C1 | A2 B2, v2 = C2 A3 | B3 C3
  const __m256d ab = _mm256_permute2f128_pd(v0, v1, 0x30);  // A0 B0 | A2 B2
  const __m256d ca = _mm256_permute2f128_pd(v0, v2, 0x21);  // C0 A1 | C2 A3
  const __m256d bc = _mm256_permute2f128_pd(v1, v2, 0x30);  // B1 C1 | B3 C3
  a = _mm256_shuffle_pd(ab, ca, 0b1010);
  b = _mm256_shuffle_pd(ab, bc, 0b0101);
  c = _mm256_shuffle_pd(ca, bc, 0b1010);
}

// Adds w * A*cos(B + C*tau) over n terms into acc, and |argument| into maxAbs.
NOVASTRA_AVX2 inline void Accumulate(const SeriesTerm* t, std::size_t n, __m256d tv, __m256d w, __m256d& accOut,
                                  __m256d& maxAbsOut) {
  // Locals keep both accumulators in registers through the loop.
  __m256d acc = accOut, maxAbs = maxAbsOut;
  const double* p = &t[0].A;
  std::size_t i = 0;
  __m256d a, b, c;
  for (; i + 4 <= n; i += 4, p += 12) {
    Transpose(_mm256_loadu_pd(p), _mm256_loadu_pd(p + 4), _mm256_loadu_pd(p + 8), a, b, c);
    const __m256d x = Argument(c, tv, b);
    maxAbs = _mm256_max_pd(maxAbs, Abs(x));
    acc = _mm256_fmadd_pd(_mm256_mul_pd(a, w), SinCore(x, 0.5), acc);
  }
  if (i < n) {
    // The last one to three terms by masked loads: the missing lanes read as
    // zero amplitude, phase and frequency.
    const __m256i count = _mm256_set1_epi64x(static_cast<long long>(3 * (n - i)));
    const __m256i m0 = _mm256_cmpgt_epi64(count, _mm256_setr_epi64x(0, 1, 2, 3));
    const __m256i m1 = _mm256_cmpgt_epi64(count, _mm256_setr_epi64x(4, 5, 6, 7));
    const __m256i m2 = _mm256_cmpgt_epi64(count, _mm256_setr_epi64x(8, 9, 10, 11));
    Transpose(_mm256_maskload_pd(p, m0), _mm256_maskload_pd(p + 4, m1), _mm256_maskload_pd(p + 8, m2),
              a, b, c);
    const __m256d x = Argument(c, tv, b);
    maxAbs = _mm256_max_pd(maxAbs, Abs(x));
    acc = _mm256_fmadd_pd(_mm256_mul_pd(a, w), SinCore(x, 0.5), acc);
  }
  accOut = acc;
  maxAbsOut = maxAbs;
}

NOVASTRA_AVX2 inline double Reduce(__m256d acc) {
  const __m128d pair = _mm_add_pd(_mm256_castpd256_pd128(acc), _mm256_extractf128_pd(acc, 1));
  return _mm_cvtsd_f64(_mm_add_sd(pair, _mm_unpackhi_pd(pair, pair)));
}

NOVASTRA_AVX2 double SeriesSumAvx2(const SeriesTerm* t, std::size_t n, double tau) {
  __m256d acc = _mm256_setzero_pd(), maxAbs = _mm256_setzero_pd();
  Accumulate(t, n, Set(tau), Set(1.0), acc, maxAbs);
  if (AnyAbove(maxAbs, kLimit)) return LibrarySeriesSum(t, n, tau);
  return Reduce(acc);
}

NOVASTRA_AVX2 double PowerSeriesAvx2(const std::vector<SeriesTerm>* series, std::size_t count,
                                       double tau) {
  __m256d acc = _mm256_setzero_pd(), maxAbs = _mm256_setzero_pd();
  double power = 1;
  for (std::size_t k = 0; k < count; ++k) {
    Accumulate(series[k].data(), series[k].size(), Set(tau), Set(power), acc, maxAbs);
    power *= tau;
  }
  if (AnyAbove(maxAbs, kLimit)) {
    double total = 0;
    power = 1;
    for (std::size_t k = 0; k < count; ++k) {
      total += LibrarySeriesSum(series[k].data(), series[k].size(), tau) * power;
      power *= tau;
    }
    return total;
  }
  return Reduce(acc);
}

// Four lanes, with the library beyond the reduction's range (never reached for
// the dates of interest).
template <int Half>
NOVASTRA_AVX2 inline __m256d Lanes(__m256d v) {
  if (AnyAbove(Abs(v), kLimit)) {
    alignas(32) double e[4];
    _mm256_store_pd(e, v);
    for (double& d : e) d = Half ? std::cos(d) : std::sin(d);
    return _mm256_load_pd(e);
  }
  return SinCore(v, 0.5 * Half);
}

template <int Half>
NOVASTRA_AVX2 void BatchAvx2(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) _mm256_storeu_pd(out + i, Lanes<Half>(_mm256_loadu_pd(x + i)));
  if (i < n) {
    alignas(32) double v[4] = {};
    for (std::size_t k = 0; i + k < n; ++k) v[k] = x[i + k];
    _mm256_store_pd(v, Lanes<Half>(_mm256_load_pd(v)));
    for (std::size_t k = 0; i + k < n; ++k) out[i + k] = v[k];
  }
}

constexpr TrigKernels kAvx2{"avx2", SeriesSumAvx2, PowerSeriesAvx2, BatchAvx2<0>, BatchAvx2<1>};

}  // namespace

const TrigKernels* Avx2Kernels() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return &kAvx2;
  return nullptr;
}

}  // namespace novastra
