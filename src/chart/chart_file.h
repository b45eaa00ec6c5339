#pragma once
// Writes a graphic ephemeris to an SVG, PNG or PDF file.
#include <filesystem>
#include <optional>
#include <string>

#include "chart/chart_model.h"
#include "chart/chart_painter.h"

namespace novastra::chart {

enum class ChartFormat { Svg, Png, Pdf };

// The format named by the file's extension (.svg, .png, .pdf, any case).
std::optional<ChartFormat> FormatOf(const std::filesystem::path& file);

// Builds the chart at the size the format wants (the options' width and
// height for SVG and PNG, an A4 landscape page for PDF) and writes it through
// a temporary file that replaces the target only when complete, so a failure
// leaves no partial file. Returns an empty text, or the reason of a failure.
// Needs a QGuiApplication (fonts).
std::string WriteChart(const EphemerisSeries& series, const ChartOptions& options,
                       const std::filesystem::path& file, ChartFormat format,
                       const PaintStyle& style = {});

}  // namespace novastra::chart
