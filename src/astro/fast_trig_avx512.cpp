// AVX-512 variant of the fast kernels: the same reduction and polynomial as the
// AVX2 one, eight lanes wide. Compiled for AVX-512 by target attribute only and
// called only after the processor has been checked.
// GCC 12's AVX-512 headers trip -Wmaybe-uninitialized on masked intrinsics.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cmath>
#include <cstddef>
#include <vector>

#include "astro/fast_trig.h"

#define NOVASTRA_AVX512 __attribute__((target("avx512f,avx512dq,fma")))

namespace novastra {

namespace {

static_assert(sizeof(SeriesTerm) == 3 * sizeof(double), "terms are read as packed triples");

constexpr double kPi1 = 3.141592651605606, kPi2 = 1.9841871583270443e-09,
                 kPi3 = 1.034036596358821e-18;
constexpr double kInvPi = 0.3183098861837907;
constexpr double kShifter = 6755399441055744.0;  // 1.5 * 2^52
constexpr double kLimit = 1.0e6;
constexpr double kSin[10] = {-0.16666666666666666,    0.008333333333333333,  -0.0001984126984126984,
                             2.7557319223985893e-06,  -2.505210838544172e-08, 1.6059043836821613e-10,
                             -7.647163731819816e-13,  2.8114572543455206e-15, -8.22063524662433e-18,
                             1.9572941063391263e-20};

NOVASTRA_AVX512 inline __m512d Set(double v) { return _mm512_set1_pd(v); }

// sin(x + h*pi) for eight lanes, |x| < kLimit: x + h*pi = k*pi + r, |r| <= pi/2.
NOVASTRA_AVX512 inline __m512d SinCore(__m512d x, double h) {
  const __m512d t = _mm512_add_pd(_mm512_fmadd_pd(x, Set(kInvPi), Set(h)), Set(kShifter));
  const __m512d m = _mm512_sub_pd(_mm512_sub_pd(t, Set(kShifter)), Set(h));
  __m512d r = _mm512_fnmadd_pd(m, Set(kPi1), x);
  r = _mm512_fnmadd_pd(m, Set(kPi2), r);
  r = _mm512_fnmadd_pd(m, Set(kPi3), r);
  const __m512d z = _mm512_mul_pd(r, r);
  __m512d p = Set(kSin[9]);
  for (int i = 8; i >= 0; --i) p = _mm512_fmadd_pd(z, p, Set(kSin[i]));
  const __m512d s = _mm512_fmadd_pd(_mm512_mul_pd(r, z), p, r);
  const __m512i sign = _mm512_slli_epi64(_mm512_castpd_si512(t), 63);
  return _mm512_xor_pd(s, _mm512_castsi512_pd(sign));
}

NOVASTRA_AVX512 inline __m512d Argument(__m512d c, __m512d tau, __m512d b) {
  __m512d product = _mm512_mul_pd(c, tau);
  asm("" : "+v"(product));  // no fused multiply-add: rounded as C*tau + B
  return _mm512_add_pd(product, b);
}

double LibrarySeriesSum(const SeriesTerm* t, std::size_t n, double tau) {
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += t[i].A * std::cos(t[i].C * tau + t[i].B);
  return sum;
}

// Eight packed (A, B, C) triples, 24 doubles in v0 v1 v2, into A, B and C.
NOVASTRA_AVX512 inline void Transpose(__m512d v0, __m512d v1, __m512d v2, __m512d& a, __m512d& b,
                                      __m512d& c) {
  // Element j of component q is at 3j + q; indices 0..15 address v0:v1, and
  // the last lanes (3j + q >= 16) come from v2.
  const __m512i ia = _mm512_setr_epi64(0, 3, 6, 9, 12, 15, 0, 0);
  const __m512i ib = _mm512_setr_epi64(1, 4, 7, 10, 13, 0, 0, 0);
  const __m512i ic = _mm512_setr_epi64(2, 5, 8, 11, 14, 0, 0, 0);
  const __m512i ja = _mm512_setr_epi64(0, 0, 0, 0, 0, 0, 2, 5);
  const __m512i jb = _mm512_setr_epi64(0, 0, 0, 0, 0, 0, 3, 6);
  const __m512i jc = _mm512_setr_epi64(0, 0, 0, 0, 0, 1, 4, 7);
  a = _mm512_mask_permutexvar_pd(_mm512_permutex2var_pd(v0, ia, v1), 0xC0, ja, v2);
  b = _mm512_mask_permutexvar_pd(_mm512_permutex2var_pd(v0, ib, v1), 0xE0, jb, v2);
  c = _mm512_mask_permutexvar_pd(_mm512_permutex2var_pd(v0, ic, v1), 0xE0, jc, v2);
}

// Adds w * A*cos(B + C*tau) over n terms into acc, and |argument| into maxAbs.
NOVASTRA_AVX512 inline void Accumulate(const SeriesTerm* t, std::size_t n, __m512d tv, __m512d w, __m512d& accOut,
                                  __m512d& maxAbsOut) {
  // Locals keep both accumulators in registers through the loop.
  __m512d acc = accOut, maxAbs = maxAbsOut;
  const double* p = &t[0].A;
  std::size_t i = 0;
  __m512d a, b, c;
  for (; i + 8 <= n; i += 8, p += 24) {
    Transpose(_mm512_loadu_pd(p), _mm512_loadu_pd(p + 8), _mm512_loadu_pd(p + 16), a, b, c);
    const __m512d x = Argument(c, tv, b);
    maxAbs = _mm512_max_pd(maxAbs, _mm512_abs_pd(x));
    acc = _mm512_fmadd_pd(_mm512_mul_pd(a, w), SinCore(x, 0.5), acc);
  }
  if (i < n) {
    // The last one to seven terms by masked loads; missing lanes read as zero.
    const std::size_t values = 3 * (n - i);
    auto mask = [values](std::size_t from) -> __mmask8 {
      if (values <= from) return 0;
      const std::size_t k = values - from;
      return k >= 8 ? 0xFF : static_cast<__mmask8>((1u << k) - 1);
    };
    Transpose(_mm512_maskz_loadu_pd(mask(0), p), _mm512_maskz_loadu_pd(mask(8), p + 8),
              _mm512_maskz_loadu_pd(mask(16), p + 16), a, b, c);
    const __m512d x = Argument(c, tv, b);
    maxAbs = _mm512_max_pd(maxAbs, _mm512_abs_pd(x));
    acc = _mm512_fmadd_pd(_mm512_mul_pd(a, w), SinCore(x, 0.5), acc);
  }
  accOut = acc;
  maxAbsOut = maxAbs;
}


NOVASTRA_AVX512 double SeriesSumAvx512(const SeriesTerm* t, std::size_t n, double tau) {
  __m512d acc = _mm512_setzero_pd(), maxAbs = _mm512_setzero_pd();
  Accumulate(t, n, Set(tau), Set(1.0), acc, maxAbs);
  if (_mm512_cmp_pd_mask(maxAbs, Set(kLimit), _CMP_GT_OQ) != 0) return LibrarySeriesSum(t, n, tau);
  return _mm512_reduce_add_pd(acc);
}

NOVASTRA_AVX512 double PowerSeriesAvx512(const std::vector<SeriesTerm>* series, std::size_t count,
                                       double tau) {
  __m512d acc = _mm512_setzero_pd(), maxAbs = _mm512_setzero_pd();
  double power = 1;
  for (std::size_t k = 0; k < count; ++k) {
    Accumulate(series[k].data(), series[k].size(), Set(tau), Set(power), acc, maxAbs);
    power *= tau;
  }
  if (_mm512_cmp_pd_mask(maxAbs, Set(kLimit), _CMP_GT_OQ) != 0) {
    double total = 0;
    power = 1;
    for (std::size_t k = 0; k < count; ++k) {
      total += LibrarySeriesSum(series[k].data(), series[k].size(), tau) * power;
      power *= tau;
    }
    return total;
  }
  return _mm512_reduce_add_pd(acc);
}

template <int Half>
NOVASTRA_AVX512 inline __m512d Lanes(__m512d v) {
  if (_mm512_cmp_pd_mask(_mm512_abs_pd(v), Set(kLimit), _CMP_GT_OQ) != 0) {
    alignas(64) double e[8];
    _mm512_store_pd(e, v);
    for (double& d : e) d = Half ? std::cos(d) : std::sin(d);
    return _mm512_load_pd(e);
  }
  return SinCore(v, 0.5 * Half);
}

template <int Half>
NOVASTRA_AVX512 void BatchAvx512(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) _mm512_storeu_pd(out + i, Lanes<Half>(_mm512_loadu_pd(x + i)));
  if (i < n) {
    const __mmask8 k = static_cast<__mmask8>((1u << (n - i)) - 1);
    _mm512_mask_storeu_pd(out + i, k, Lanes<Half>(_mm512_maskz_loadu_pd(k, x + i)));
  }
}

constexpr TrigKernels kAvx512{"avx512", SeriesSumAvx512, PowerSeriesAvx512, BatchAvx512<0>, BatchAvx512<1>};

}  // namespace

const TrigKernels* Avx512Kernels() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq")) return &kAvx512;
  return nullptr;
}

}  // namespace novastra
