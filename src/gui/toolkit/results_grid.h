#pragma once

#include "core/systems/guar_results.h"

// The grids of a system as the Systems window and the Wheel Designer show them.

class GridModel;
class GridView;
class QWidget;

// A system's tickets grid: two columns ("N1", its numbers) under a header row, the view named name.
GridView* make_tickets_view(GridModel* tickets, const char* name, QWidget* parent);

// The guaranteed-results grid of a system: its view,
// named msfResults and as tall as its rows, and its texts and sizes.
GridView* make_results_view(GridModel* results, QWidget* parent);
void show_guar_results(GridModel& results, const GuarMinMax& guar_min, const GuarMinMax& guar_max);
