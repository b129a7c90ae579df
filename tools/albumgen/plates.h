// The album's pages, one function each; every plate draws one page.
#pragma once

#include <cairo.h>

namespace album {

void coverPage(cairo_t* cr);
void plateFibres(cairo_t* cr, int number);
void plateCounting(cairo_t* cr, int number);
void plateMaterials(cairo_t* cr, int number);
void plateLabel(cairo_t* cr, int number);
void plateProtection(cairo_t* cr, int number);
void plateSampling(cairo_t* cr, int number);
void platePhases(cairo_t* cr, int number);
void plateDistribution(cairo_t* cr, int number);
void plateShare(cairo_t* cr, int number);

}  // namespace album
