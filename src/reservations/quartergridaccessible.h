#pragma once

class QuarterGrid;

// How screen readers see a quarter grid: a table with one row per quarter-hour of the day and one
// column per court of each day shown, each cell reading its state ("free", "reserved", ...), its
// booking as the description, the rows and columns named by time and by day and court.
namespace QuarterGridAccessibility {

// Registers the interfaces once for the application.
void install();
// Tells assistive tools that the keyboard's quarter moved or changed.
void currentMoved(QuarterGrid* grid);

} // namespace QuarterGridAccessibility
