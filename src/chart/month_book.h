#pragma once
// A book of months as one PDF: a title page, then one landscape page per month.
#include <QByteArray>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "chart/month_page.h"

namespace novastra::chart {

enum class Paper { A4, Letter };

// Adds the symbol font file to the application's fonts; its family, or empty
// when the file cannot be read as a font.
QString AddSymbolFont(const std::filesystem::path& fontFile);

// Draws the title page and the months into `pdf` (vector text, the fonts
// embedded). "" when done, else why nothing was drawn.
std::string DrawBook(const std::vector<MonthInput>& months, Paper paper, const PageFonts& fonts,
                     QByteArray& pdf);

}  // namespace novastra::chart
