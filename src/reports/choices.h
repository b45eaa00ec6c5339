#pragma once
// Choices that filter the aspectarian's events.
namespace novastra {

// Whether the Moon's ingresses are listed.
enum class MoonChangeSign { Display, NoDisplay };

}  // namespace novastra
