#pragma once

#include <QString>
#include <optional>

namespace invoiceprint {

// A margin box's number of inches: its leading number, as a typed "1.5in"
// reads 1.5; a box that starts with letters (or is blank) counts as 0.
double inches(const QString &text);

// Inches as twips (1440 to the inch), rounded.
int twips(double inches);

// The box text a margin is stored as: blank stays blank (nothing stored),
// anything else its number of inches.
QString normalised(const QString &text);

// The text of a stored margin, as the boxes show it ("2.00").
QString shown(const QString &stored);

// Why the margins would put the invoice off the paper, or nothing when they
// leave it room. A margin not set by the window is given as nullopt.
std::optional<QString> refusal(double top, double left, std::optional<double> bottom = std::nullopt,
                               std::optional<double> right = std::nullopt);

// The smallest paper an invoice is printed on (A4 across, US Letter down),
// and the room the text needs at least, in inches.
inline constexpr double PaperWidth = 8.27;
inline constexpr double PaperHeight = 11.0;
inline constexpr double TextRoom = 1.0;

} // namespace invoiceprint
