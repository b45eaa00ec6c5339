#pragma once
// The first lunation of every Saros series that has an eclipse between 1800
// and 2100, as the member count of the eclipse search finds it (stepping back
// one saros at a time while the lunation before has an eclipse) with the
// supplied series files. A series' start lies up to some 1,300 years before
// 1800, so finding it costs some forty eclipse computations a series; these
// tables hold the answers, and are used only with the series files whose
// fingerprint (SeriesFingerprint) is given here. A test steps back through
// every series again and compares.
#include <cstdint>

namespace novastra {

struct SarosStart {
  int series = 0;
  int firstLunation = 0;
};

inline constexpr std::uint64_t kSuppliedSeriesFingerprint = 0x5fbbeb1f1ca6c6ceull;

// Solar eclipses (lunations counted from the New Moon of 2000 January 6).
inline constexpr SarosStart kSolarSarosStarts[] = {
    {107, -17846}, {108, -17934}, {109, -19583}, {111, -18198}, {112, -18063}, {113, -17482},
    {114, -16678}, {115, -16543}, {116, -15739}, {117, -14935}, {118, -14800}, {119, -14219},
    {120, -13192}, {121, -13057}, {122, -12476}, {123, -11449}, {124, -11760}, {125, -11625},
    {126, -10152}, {127, -12470}, {128, -12558}, {129, -11085}, {130, -11173}, {131, -10815},
    {132, -9788}, {133, -9653}, {134, -9295}, {135, -8268}, {136, -7910}, {137, -7552},
    {138, -6525}, {139, -6167}, {140, -5809}, {141, -4782}, {142, -4647}, {143, -4735},
    {144, -3262}, {145, -4465}, {146, -5668}, {147, -4641}, {148, -4283}, {149, -4148},
    {150, -3344}, {151, -2763}, {152, -2405}, {153, -1601}, {154, -1020}, {155, -885}, {156, 142},
    {157, 723}, {158, 858}, {164, 1222},
};

// Lunar eclipses with Chauvenet's enlargement of the shadow (the Full Moon
// after that lunation's New Moon).
inline constexpr SarosStart kLunarSarosStarts[] = {
    {99, -17870}, {100, -19742}, {101, -20499}, {102, -19026}, {103, -19114}, {105, -17729},
    {106, -17371}, {107, -17236}, {108, -16209}, {109, -15851}, {110, -15493}, {111, -14466},
    {112, -14108}, {113, -13750}, {114, -12723}, {115, -12365}, {116, -12453}, {117, -11203},
    {118, -11068}, {119, -13386}, {120, -12582}, {121, -12001}, {122, -12089}, {123, -11285},
    {124, -10481}, {125, -10346}, {126, -9765}, {127, -8961}, {128, -8603}, {129, -8022},
    {130, -7218}, {131, -7083}, {132, -6279}, {133, -5475}, {134, -5563}, {135, -4759},
    {136, -3955}, {137, -5827}, {138, -6138}, {139, -4442}, {140, -5199}, {141, -4841},
    {142, -3591}, {143, -3679}, {144, -3098}, {145, -2071}, {146, -1936}, {147, -1578},
    {148, -328}, {149, -193}, {150, 165}, {151, 1192}, {156, 529},
};

}  // namespace novastra
