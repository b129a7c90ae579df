// albumgen: draws AlbumFotoAmianto.pdf, the illustrated album of Quorvel.
//
//   albumgen OUTPUT.pdf
//
// The plates are our own schematic drawings; the last two chart the shipped
// database. Exit status: 0 written, 2 usage or drawing error.

#include "tools/albumgen/drawing.h"
#include "tools/albumgen/plates.h"

#include <cairo-pdf.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: albumgen OUTPUT.pdf\n");
        return 2;
    }
    cairo_surface_t* surface = cairo_pdf_surface_create(argv[1], album::PageWidth, album::PageHeight);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "Quorvel - Album illustrato");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Quorvel albumgen");
    cairo_t* cr = cairo_create(surface);

    using Plate = void (*)(cairo_t*, int);
    static const Plate plates[] = {
        album::plateFibres,     album::plateCounting, album::plateMaterials,
        album::plateLabel,      album::plateProtection, album::plateSampling,
        album::platePhases,     album::plateDistribution, album::plateShare,
    };
    album::coverPage(cr);
    cairo_show_page(cr);
    int number = 1;
    for (Plate plate : plates) {
        cairo_save(cr);
        plate(cr, number++);
        cairo_restore(cr);
        cairo_show_page(cr);
    }

    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "albumgen: %s: %s\n", argv[1], cairo_status_to_string(status));
        std::remove(argv[1]);
        return 2;
    }
    return 0;
}
