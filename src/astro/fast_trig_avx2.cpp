// AVX2 + FMA variant of the fast kernels. Only the functions in this file are
// compiled for AVX2 (by target attribute), and they are called only after the
// processor has been checked, so the program still runs on any x86-64.
#include <immintrin.h>

#include <cmath>
#include <cstddef>

#include "astro/fast_trig.h"

#define NOVASTRA_AVX2 __attribute__((target("avx2,fma")))

namespace novastra {

namespace {

constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Lo = 6.07710050650619224932e-11;
constexpr double kInvPio2 = 6.36619772367581382433e-01;
constexpr double kShifter = 6755399441055744.0;  // 1.5 * 2^52
constexpr double kLimit = 1.0e6;

constexpr double kS1 = -1.66666666666666324348e-01, kS2 = 8.33333333332248946124e-03,
                 kS3 = -1.98412698298579493134e-04, kS4 = 2.75573137070700676789e-06,
                 kS5 = -2.50507602534068634195e-08, kS6 = 1.58969099521155010221e-10;
constexpr double kC1 = 4.16666666666666019037e-02, kC2 = -1.38888888888741095749e-03,
                 kC3 = 2.48015872894767294178e-05, kC4 = -2.75573143513906633035e-07,
                 kC5 = 2.08757232129817482790e-09, kC6 = -1.13596475577881948265e-11;

NOVASTRA_AVX2 inline __m256d Set(double v) { return _mm256_set1_pd(v); }

// cos(x + quadrantShift * pi/2) for four lanes with |x| < kLimit.
NOVASTRA_AVX2 inline __m256d CosCore(__m256d x, long long quadrantShift) {
  const __m256d t = _mm256_fmadd_pd(x, Set(kInvPio2), Set(kShifter));
  const __m256d n = _mm256_sub_pd(t, Set(kShifter));
  __m256i q = _mm256_add_epi64(_mm256_castpd_si256(t), _mm256_set1_epi64x(quadrantShift));
  // n * kPio2Hi is exact, and so is its difference from x.
  const __m256d r = _mm256_fnmadd_pd(n, Set(kPio2Lo), _mm256_fnmadd_pd(n, Set(kPio2Hi), x));
  const __m256d z = _mm256_mul_pd(r, r);
  __m256d ps = _mm256_fmadd_pd(z, Set(kS6), Set(kS5));
  ps = _mm256_fmadd_pd(z, ps, Set(kS4));
  ps = _mm256_fmadd_pd(z, ps, Set(kS3));
  ps = _mm256_fmadd_pd(z, ps, Set(kS2));
  ps = _mm256_fmadd_pd(z, ps, Set(kS1));
  const __m256d sinR = _mm256_fmadd_pd(_mm256_mul_pd(r, z), ps, r);
  __m256d pc = _mm256_fmadd_pd(z, Set(kC6), Set(kC5));
  pc = _mm256_fmadd_pd(z, pc, Set(kC4));
  pc = _mm256_fmadd_pd(z, pc, Set(kC3));
  pc = _mm256_fmadd_pd(z, pc, Set(kC2));
  pc = _mm256_fmadd_pd(z, pc, Set(kC1));
  const __m256d cosR =
      _mm256_sub_pd(Set(1.0), _mm256_fmsub_pd(Set(0.5), z, _mm256_mul_pd(_mm256_mul_pd(z, z), pc)));
  const __m256i odd = _mm256_sub_epi64(_mm256_setzero_si256(), _mm256_and_si256(q, _mm256_set1_epi64x(1)));
  const __m256d v = _mm256_blendv_pd(cosR, sinR, _mm256_castsi256_pd(odd));
  // Quadrants 1 and 2 are negated.
  q = _mm256_slli_epi64(_mm256_and_si256(_mm256_add_epi64(q, _mm256_set1_epi64x(1)), _mm256_set1_epi64x(2)), 62);
  return _mm256_xor_pd(v, _mm256_castsi256_pd(q));
}

NOVASTRA_AVX2 inline __m256d Cos4(__m256d x, long long quadrantShift) {
  const __m256d absX = _mm256_andnot_pd(Set(-0.0), x);
  if (_mm256_movemask_pd(_mm256_cmp_pd(absX, Set(kLimit), _CMP_GT_OQ)) != 0) {
    alignas(32) double v[4];
    _mm256_store_pd(v, x);
    for (double& e : v) e = quadrantShift == 0 ? std::cos(e) : std::sin(e);
    return _mm256_load_pd(v);
  }
  return CosCore(x, quadrantShift);
}

// C*tau + B rounded twice, as the scalar code does: the empty asm keeps the
// compiler from fusing the product and the sum into one FMA.
NOVASTRA_AVX2 inline __m256d Argument(__m256d c, __m256d tau, __m256d b) {
  __m256d product = _mm256_mul_pd(c, tau);
  asm("" : "+x"(product));
  return _mm256_add_pd(product, b);
}

NOVASTRA_AVX2 double SeriesSumAvx2(const SeriesTerm* t, std::size_t n, double tau) {
  const __m256d tv = Set(tau);
  __m256d acc = _mm256_setzero_pd();
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d a = _mm256_set_pd(t[i + 3].A, t[i + 2].A, t[i + 1].A, t[i].A);
    const __m256d b = _mm256_set_pd(t[i + 3].B, t[i + 2].B, t[i + 1].B, t[i].B);
    const __m256d c = _mm256_set_pd(t[i + 3].C, t[i + 2].C, t[i + 1].C, t[i].C);
    const __m256d x = Argument(c, tv, b);
    acc = _mm256_fmadd_pd(a, Cos4(x, 0), acc);
  }
  if (i < n) {
    alignas(32) double a[4] = {}, b[4] = {}, c[4] = {};
    for (std::size_t k = 0; i + k < n; ++k) {
      a[k] = t[i + k].A;
      b[k] = t[i + k].B;
      c[k] = t[i + k].C;
    }
    const __m256d x = Argument(_mm256_load_pd(c), tv, _mm256_load_pd(b));
    acc = _mm256_fmadd_pd(_mm256_load_pd(a), Cos4(x, 0), acc);
  }
  const __m128d pair = _mm_add_pd(_mm256_castpd256_pd128(acc), _mm256_extractf128_pd(acc, 1));
  return _mm_cvtsd_f64(_mm_add_sd(pair, _mm_unpackhi_pd(pair, pair)));
}

template <long long Shift>
NOVASTRA_AVX2 void BatchAvx2(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) _mm256_storeu_pd(out + i, Cos4(_mm256_loadu_pd(x + i), Shift));
  if (i < n) {
    alignas(32) double v[4] = {};
    for (std::size_t k = 0; i + k < n; ++k) v[k] = x[i + k];
    _mm256_store_pd(v, Cos4(_mm256_load_pd(v), Shift));
    for (std::size_t k = 0; i + k < n; ++k) out[i + k] = v[k];
  }
}

constexpr TrigKernels kAvx2{"avx2", SeriesSumAvx2, BatchAvx2<3>, BatchAvx2<0>};

}  // namespace

const TrigKernels* Avx2Kernels() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return &kAvx2;
  return nullptr;
}

}  // namespace novastra
