// The album's plates: schematic drawings made for Quorvel (no photographs)
// and two charts of the shipped data.
#include "tools/albumgen/plates.h"

#include "tools/albumgen/album_data.h"
#include "tools/albumgen/drawing.h"

#include <cmath>
#include <cstdio>

namespace album {

namespace {

const Colour Ink{0.1, 0.1, 0.15};
const Colour Navy{0.0, 0.0, 0.5};
const Colour Red{0.75, 0.1, 0.1};
const Colour Green{0.1, 0.5, 0.15};
const Colour Grey{0.55, 0.55, 0.55};
const Colour Light{0.92, 0.92, 0.92};
const Colour Yellow{0.98, 0.82, 0.1};

// Deterministic pseudo-random numbers, so every build draws the same album.
struct Random {
    unsigned state;
    double next()
    {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 8) & 0xFFFF) / 65535.0;
    }
};

void circleClip(cairo_t* cr, double cx, double cy, double r)
{
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_clip(cr);
}

void fieldOfView(cairo_t* cr, double cx, double cy, double r)
{
    cairo_set_source_rgb(cr, 0.96, 0.96, 0.9);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
}

void fieldBorder(cairo_t* cr, double cx, double cy, double r)
{
    setColour(cr, Ink);
    cairo_set_line_width(cr, 2);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_stroke(cr);
}

void scaleBar(cairo_t* cr, double x, double y, double length, const std::string& label)
{
    setColour(cr, Ink);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + length, y);
    cairo_stroke(cr);
    text(cr, x + length / 2, y - 5, 8, label, Align::Centre);
}

// A chrysotile bundle: parallel wavy fibrils that open at the ends.
void curlyBundle(cairo_t* cr, Random& rnd, double x, double y, double length, double angle)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_set_line_width(cr, 0.7);
    setColour(cr, {0.35, 0.3, 0.2});
    int fibrils = 6 + static_cast<int>(rnd.next() * 5);
    double wave = 6 + rnd.next() * 6;
    for (int k = 0; k < fibrils; ++k) {
        double offset = (k - fibrils / 2.0) * 1.2;
        double spread = (rnd.next() - 0.5) * 18;
        cairo_move_to(cr, 0, offset + spread);
        for (double t = 0; t <= 1.0001; t += 0.05) {
            double px = t * length;
            double ends = std::pow(std::fabs(2 * t - 1), 3);  // fibrils splay only near the ends
            double py = offset + std::sin(t * 6.0 + k * 0.2) * wave + ends * spread;
            cairo_line_to(cr, px, py);
        }
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// An amphibole needle, sometimes split into thinner straight fibres.
void needle(cairo_t* cr, Random& rnd, double x, double y, double length, double angle, double width)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    setColour(cr, {0.25, 0.3, 0.4});
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, length, 0);
    cairo_stroke(cr);
    if (rnd.next() < 0.5) {
        cairo_set_line_width(cr, width * 0.35);
        for (int k = -1; k <= 1; k += 2) {
            cairo_move_to(cr, length * 0.7, 0);
            cairo_line_to(cr, length * 1.15, k * width * 1.6);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

void labelBox(cairo_t* cr, double x, double y, double w, const std::string& title, const std::string& body)
{
    setColour(cr, Navy);
    text(cr, x, y, 11, title, Align::Left, true);
    setColour(cr, Ink);
    paragraph(cr, x, y + 16, w, 9, body);
}

// Leader line from a point of the drawing to a label.
void callout(cairo_t* cr, double fromX, double fromY, double toX, double toY, const std::string& label,
             bool labelLeft)
{
    setColour(cr, Grey);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, fromX, fromY);
    cairo_line_to(cr, toX, toY);
    cairo_stroke(cr);
    cairo_arc(cr, fromX, fromY, 2, 0, 2 * M_PI);
    cairo_fill(cr);
    setColour(cr, Ink);
    text(cr, labelLeft ? toX - 4 : toX + 4, toY + 3, 9, label, labelLeft ? Align::Right : Align::Left);
}

void roundedBox(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

// A standing worker in outline, feet at y, about 300 points tall.
void worker(cairo_t* cr, double cx, double y, Colour suit)
{
    setColour(cr, suit);
    // legs and body of the coverall
    roundedBox(cr, cx - 45, y - 230, 90, 120, 18);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 42, y - 120, 36, 110);
    cairo_rectangle(cr, cx + 6, y - 120, 36, 110);
    cairo_fill(cr);
    // arms
    cairo_set_line_width(cr, 26);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx - 50, y - 215);
    cairo_line_to(cr, cx - 78, y - 120);
    cairo_move_to(cr, cx + 50, y - 215);
    cairo_line_to(cr, cx + 78, y - 120);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    // hood and face
    cairo_arc(cr, cx, y - 262, 36, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.96, 0.84, 0.72);
    cairo_arc(cr, cx, y - 258, 24, 0, 2 * M_PI);
    cairo_fill(cr);
    setColour(cr, Ink);
    cairo_set_line_width(cr, 1);
    cairo_arc(cr, cx, y - 262, 36, 0, 2 * M_PI);
    cairo_stroke(cr);
}

}  // namespace

void coverPage(cairo_t* cr)
{
    setColour(cr, Navy);
    cairo_rectangle(cr, 0, 0, PageWidth, 250);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    text(cr, PageWidth / 2, 120, 30, "Album illustrato", Align::Centre, true);
    text(cr, PageWidth / 2, 160, 15, "Fibre di amianto negli ambienti di lavoro", Align::Centre);
    text(cr, PageWidth / 2, 200, 11, "Quorvel 2.02", Align::Centre);

    setColour(cr, Ink);
    double y = 300;
    y = paragraph(cr, Margin, y, PageWidth - 2 * Margin, 11,
                  "Questo album accompagna Quorvel, la banca dati di concentrazioni di fibre d'amianto "
                  "negli ambienti di lavoro. Non contiene fotografie: tutte le tavole sono disegni "
                  "schematici realizzati appositamente per Quorvel, e le ultime due sono grafici ricavati "
                  "dai dati forniti con il programma.");
    y = paragraph(cr, Margin, y + 10, PageWidth - 2 * Margin, 11,
                  "Le tavole illustrano i due gruppi di minerali di amianto e la forma delle loro fibre, "
                  "le regole con cui si contano le fibre, alcuni materiali che contenevano amianto, "
                  "l'etichetta di avvertimento, i dispositivi di protezione, il campionamento dell'aria e "
                  "le fasi di una bonifica.");
    y = paragraph(cr, Margin, y + 10, PageWidth - 2 * Margin, 11,
                  "I disegni non sono in scala, salvo dove è indicata una barra di scala. I grafici "
                  "descrivono il set di dati dimostrativo di Quorvel, non l'esposizione reale in un "
                  "luogo di lavoro: la guida del programma spiega come leggere i dati e come sostituirli.");

    static const char* const contents[] = {
        "1  Forme delle fibre: serpentino e anfiboli",
        "2  Quali fibre si contano",
        "3  Materiali che contenevano amianto",
        "4  L'etichetta di avvertimento",
        "5  Dispositivi di protezione individuale",
        "6  Il campionamento personale dell'aria",
        "7  Le fasi di una bonifica",
        "8  Concentrazioni della banca dati per cartella",
        "9  Voci che raggiungono 0.1 ff/cc",
    };
    setColour(cr, Navy);
    text(cr, Margin, y + 30, 13, "Indice delle tavole", Align::Left, true);
    setColour(cr, Ink);
    for (int i = 0; i < 9; ++i) text(cr, Margin + 10, y + 56 + i * 18, 11, contents[i]);
}

void plateFibres(cairo_t* cr, int number)
{
    double top = beginPlate(cr, number, "Forme delle fibre: serpentino e anfiboli",
                            "Le fibre di amianto appartengono a due gruppi di minerali. Il crisotilo "
                            "(serpentino) forma fasci di fibrille sottili, flessibili e ondulate, che alle "
                            "estremità si aprono a ventaglio. Gli anfiboli (amosite, crocidolite, "
                            "tremolite, actinolite, antofillite) formano fibre diritte e rigide, simili ad "
                            "aghi, che si spezzano per il lungo in fibre ancora più sottili. Disegno "
                            "schematico di un campo di osservazione al microscopio; la barra vale circa "
                            "10 µm.");
    const double r = 120;
    const double cy = top + 150;
    const double leftX = Margin + r + 5;
    const double rightX = PageWidth - Margin - r - 5;

    Random rnd{7};
    fieldOfView(cr, leftX, cy, r);
    cairo_save(cr);
    circleClip(cr, leftX, cy, r);
    for (int i = 0; i < 7; ++i)
        curlyBundle(cr, rnd, leftX - r + rnd.next() * r, cy - r + 20 + rnd.next() * (2 * r - 40),
                    90 + rnd.next() * 90, (rnd.next() - 0.5) * 1.6);
    cairo_restore(cr);
    fieldBorder(cr, leftX, cy, r);

    fieldOfView(cr, rightX, cy, r);
    cairo_save(cr);
    circleClip(cr, rightX, cy, r);
    for (int i = 0; i < 16; ++i)
        needle(cr, rnd, rightX - r + rnd.next() * 1.6 * r, cy - r + 10 + rnd.next() * (2 * r - 20),
               40 + rnd.next() * 130, rnd.next() * M_PI, 1.2 + rnd.next() * 2.2);
    cairo_restore(cr);
    fieldBorder(cr, rightX, cy, r);

    scaleBar(cr, leftX - 30, cy + r - 14, 60, "10 µm");
    scaleBar(cr, rightX - 30, cy + r - 14, 60, "10 µm");

    double y = cy + r + 36;
    labelBox(cr, Margin, y, 230, "Serpentino: crisotilo (amianto bianco)",
             "Fibrille cave e arrotolate, raccolte in fasci ondulati.\n"
             "Flessibili: si filano e si tessono.\n"
             "È stato l'amianto più usato (cemento-amianto, freni, tessili).");
    labelBox(cr, PageWidth / 2 + 10, y, 230, "Anfiboli: amosite (bruno), crocidolite (blu)",
             "Fibre diritte, rigide e appuntite.\n"
             "Si dividono per il lungo in fibre sempre più sottili.\n"
             "Usate per coibentazioni, pannelli isolanti e tubi.");
}

void plateCounting(cairo_t* cr, int number)
{
    double top = beginPlate(cr, number, "Quali fibre si contano",
                            "Nel conteggio al microscopio si conta come fibra ogni particella allungata "
                            "con lunghezza maggiore di 5 µm, diametro minore di 3 µm e rapporto tra "
                            "lunghezza e diametro maggiore di 3 a 1. Le particelle più corte, più spesse o "
                            "poco allungate non si contano. Sono queste fibre conteggiabili che la banca "
                            "dati esprime in ff/cc (fibre per centimetro cubo d'aria) o in ff/l.");
    // One micrometre is 12 points here.
    const double um = 12;
    struct Example {
        double length, diameter;
        const char* what;
    };
    static const Example examples[] = {
        {20, 1, "L 20 µm, D 1 µm"},
        {12, 0.5, "L 12 µm, D 0.5 µm"},
        {4, 0.5, "L 4 µm: troppo corta"},
        {14, 4, "D 4 µm: troppo spessa"},
        {7, 2.8, "L/D 2.5: poco allungata"},
        {30, 2, "L 30 µm, D 2 µm"},
    };
    double y = top + 40;
    setColour(cr, Navy);
    text(cr, Margin, top + 12, 10, "Particella", Align::Left, true);
    text(cr, PageWidth - Margin, top + 12, 10, "Si conta?", Align::Right, true);
    for (const Example& e : examples) {
        bool counted = e.length > 5 && e.diameter < 3 && e.length / e.diameter > 3;
        setColour(cr, {0.25, 0.3, 0.4});
        roundedBox(cr, Margin + 10, y - e.diameter * um / 2, e.length * um, e.diameter * um,
                   std::min(e.diameter * um / 2, 3.0));
        cairo_fill(cr);
        setColour(cr, Ink);
        text(cr, Margin + 10, y + e.diameter * um / 2 + 14, 9, e.what);
        setColour(cr, counted ? Green : Red);
        text(cr, PageWidth - Margin, y + 4, 11, counted ? "sì, fibra" : "no", Align::Right, true);
        y += 78;
    }
    scaleBar(cr, Margin + 10, y - 20, 5 * um, "5 µm");
    setColour(cr, Grey);
    static const double dash[] = {3, 3};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, Margin + 10 + 5 * um, top + 24);
    cairo_line_to(cr, Margin + 10 + 5 * um, y - 40);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    text(cr, Margin + 14 + 5 * um, top + 30, 8, "5 µm");
}

void plateMaterials(cairo_t* cr, int number)
{
    double top = beginPlate(cr, number, "Materiali che contenevano amianto",
                            "Quattro esempi di manufatti in cui l'amianto era comune. In alto a sinistra: "
                            "lastre ondulate di cemento-amianto per coperture. In alto a destra: "
                            "coibentazione di una tubazione di vapore (tubo, strato isolante, rivestimento "
                            "in tela). In basso a sinistra: freno a tamburo con le guarnizioni d'attrito "
                            "(ferodi). In basso a destra: pavimento in piastrelle vinil-amianto posate con "
                            "mastice. Disegni schematici, non in scala.");
    const double w = (PageWidth - 2 * Margin - 20) / 2;
    const double h = (captionTop() - top - 30) / 2;
    const double x0 = Margin, x1 = Margin + w + 20;
    const double y0 = top, y1 = top + h + 20;

    // Corrugated sheets in a simple oblique view.
    cairo_save(cr);
    for (int sheet = 0; sheet < 3; ++sheet) {
        double ox = x0 + 20 + sheet * 22, oy = y0 + 40 + sheet * 40;
        cairo_move_to(cr, ox, oy + 60);
        for (double t = 0; t <= 150; t += 2) cairo_line_to(cr, ox + t, oy + 60 + std::sin(t / 10.0) * 6);
        cairo_line_to(cr, ox + 150 + 50, oy + 20);
        for (double t = 150; t >= 0; t -= 2) cairo_line_to(cr, ox + t + 50, oy + 20 + std::sin(t / 10.0) * 6);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.78 - sheet * 0.05, 0.78 - sheet * 0.05, 0.74);
        cairo_fill_preserve(cr);
        setColour(cr, Ink);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    setColour(cr, Navy);
    text(cr, x0 + w / 2, y0 + h, 10, "Lastre ondulate in cemento-amianto", Align::Centre, true);

    // Lagged pipe in section.
    double cx = x1 + w / 2, cy = y0 + h / 2 - 10;
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.8);
    cairo_arc(cr, cx, cy, 78, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.95, 0.93, 0.82);
    cairo_arc(cr, cx, cy, 72, 0, 2 * M_PI);
    cairo_fill(cr);
    Random rnd{3};
    setColour(cr, Grey);
    cairo_set_line_width(cr, 0.5);
    for (int i = 0; i < 120; ++i) {
        double a = rnd.next() * 2 * M_PI, d = 40 + rnd.next() * 30;
        cairo_move_to(cr, cx + std::cos(a) * d, cy + std::sin(a) * d);
        cairo_rel_line_to(cr, (rnd.next() - 0.5) * 8, (rnd.next() - 0.5) * 8);
        cairo_stroke(cr);
    }
    setColour(cr, {0.45, 0.45, 0.5});
    cairo_arc(cr, cx, cy, 38, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, cx, cy, 32, 0, 2 * M_PI);
    cairo_fill(cr);
    callout(cr, cx + 35, cy - 10, x1 + w - 2, cy - 100, "tubo d'acciaio", true);
    callout(cr, cx - 55, cy + 30, x1 + 10, cy + 100, "isolante con amianto", false);
    callout(cr, cx + 74, cy + 20, x1 + w - 2, cy + 100, "tela", true);
    setColour(cr, Navy);
    text(cr, x1 + w / 2, y0 + h, 10, "Coibentazione di tubazioni", Align::Centre, true);

    // Drum brake.
    cx = x0 + w / 2;
    cy = y1 + h / 2 - 10;
    setColour(cr, {0.4, 0.4, 0.45});
    cairo_arc(cr, cx, cy, 80, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_arc(cr, cx, cy, 70, 0, 2 * M_PI);
    cairo_fill(cr);
    for (int side = -1; side <= 1; side += 2) {
        cairo_set_source_rgb(cr, 0.55, 0.35, 0.2);
        cairo_set_line_width(cr, 9);
        cairo_arc(cr, cx, cy, 64, side < 0 ? M_PI * 0.6 : -M_PI * 0.4, side < 0 ? M_PI * 1.4 : M_PI * 0.4);
        cairo_stroke(cr);
        setColour(cr, {0.5, 0.5, 0.55});
        cairo_set_line_width(cr, 5);
        cairo_arc(cr, cx, cy, 56, side < 0 ? M_PI * 0.6 : -M_PI * 0.4, side < 0 ? M_PI * 1.4 : M_PI * 0.4);
        cairo_stroke(cr);
    }
    cairo_arc(cr, cx, cy, 12, 0, 2 * M_PI);
    cairo_fill(cr);
    callout(cr, cx - 68, cy, x0 + 4, cy - 92, "guarnizione d'attrito", false);
    callout(cr, cx + 78, cy + 20, x0 + w - 2, cy + 98, "tamburo", true);
    setColour(cr, Navy);
    text(cr, x0 + w / 2, y1 + h, 10, "Freno a tamburo", Align::Centre, true);

    // Vinyl floor tiles.
    double tile = 34;
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 6; ++col) {
            double shade = 0.8 + 0.08 * ((row + col) % 2);
            cairo_set_source_rgb(cr, shade, shade * 0.97, shade * 0.9);
            cairo_rectangle(cr, x1 + 16 + col * tile, y1 + 20 + row * tile, tile - 2, tile - 2);
            cairo_fill(cr);
        }
    cairo_set_source_rgb(cr, 0.2, 0.18, 0.15);
    cairo_rectangle(cr, x1 + 16 + 6 * tile, y1 + 20, 16, 5 * tile - 2);
    cairo_fill(cr);
    callout(cr, x1 + 24 + 6 * tile, y1 + 60, x1 + w - 2, y1 + 20, "mastice", true);
    setColour(cr, Navy);
    text(cr, x1 + w / 2, y1 + h, 10, "Piastrelle vinil-amianto", Align::Centre, true);
}

void plateLabel(cairo_t* cr, int number)
{
    double top = beginPlate(cr, number, "L'etichetta di avvertimento",
                            "L'etichetta che segnala i materiali e i rifiuti contenenti amianto: una "
                            "\"a\" minuscola bianca su fondo nero nella parte superiore e, su fondo rosso, "
                            "l'avvertimento. Si applica agli imballaggi, ai sacchi dei rifiuti di bonifica "
                            "e ai manufatti. Riproduzione schematica.");
    const double w = 260, h = 360;
    const double x = (PageWidth - w) / 2, y = top + 60;
    const double upper = h * 0.4;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, x, y, w, upper);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.85, 0.05, 0.05);
    cairo_rectangle(cr, x, y + upper, w, h - upper);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    text(cr, x + w / 2, y + upper - 24, 120, "a", Align::Centre, true);
    text(cr, x + w / 2, y + upper + 50, 24, "ATTENZIONE", Align::Centre, true);
    text(cr, x + w / 2, y + upper + 90, 20, "CONTIENE", Align::Centre, true);
    text(cr, x + w / 2, y + upper + 124, 20, "AMIANTO", Align::Centre, true);
    paragraph(cr, x + 18, y + upper + 160, w - 36, 10,
              "Respirare la polvere di amianto è pericoloso per la salute. Seguire le norme di "
              "sicurezza.");
    setColour(cr, Ink);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x, y, w, h);
    cairo_stroke(cr);
}

void plateProtection(cairo_t* cr, int number)
{
    beginPlate(cr, number, "Dispositivi di protezione individuale",
                            "L'addetto alla bonifica indossa una tuta intera monouso con cappuccio, un "
                            "facciale filtrante o una maschera con filtri di classe P3 (nei lavori più "
                            "esposti un respiratore a ventilazione assistita), guanti e calzari. La tuta "
                            "si chiude sopra guanti e calzari con nastro adesivo e si toglie, bagnata, "
                            "nell'unità di decontaminazione prima di uscire dalla zona di lavoro.");
    const double cx = PageWidth / 2, feet = captionTop() - 30;
    worker(cr, cx, feet, {0.93, 0.93, 0.96});
    setColour(cr, Ink);
    cairo_set_line_width(cr, 1);
    roundedBox(cr, cx - 45, feet - 230, 90, 120, 18);
    cairo_stroke(cr);
    // respirator over mouth and nose
    setColour(cr, {0.35, 0.35, 0.4});
    roundedBox(cr, cx - 18, feet - 258, 36, 24, 8);
    cairo_fill(cr);
    setColour(cr, {0.85, 0.2, 0.5});
    cairo_arc(cr, cx - 22, feet - 244, 7, 0, 2 * M_PI);
    cairo_arc(cr, cx + 22, feet - 244, 7, 0, 2 * M_PI);
    cairo_fill(cr);
    // gloves and overshoes
    setColour(cr, {0.2, 0.55, 0.3});
    cairo_arc(cr, cx - 80, feet - 112, 13, 0, 2 * M_PI);
    cairo_arc(cr, cx + 80, feet - 112, 13, 0, 2 * M_PI);
    cairo_fill(cr);
    setColour(cr, {0.3, 0.3, 0.6});
    roundedBox(cr, cx - 48, feet - 22, 44, 22, 6);
    roundedBox(cr, cx + 4, feet - 22, 44, 22, 6);
    cairo_fill(cr);

    callout(cr, cx + 30, feet - 285, cx + 150, feet - 310, "cappuccio della tuta", false);
    callout(cr, cx + 22, feet - 244, cx + 150, feet - 255, "respiratore con filtri P3", false);
    callout(cr, cx + 40, feet - 180, cx + 150, feet - 190, "tuta intera monouso", false);
    callout(cr, cx - 80, feet - 112, cx - 150, feet - 130, "guanti", true);
    callout(cr, cx - 26, feet - 12, cx - 150, feet - 40, "calzari", true);
    callout(cr, cx - 45, feet - 200, cx - 150, feet - 215, "nastro alle giunture", true);
}

void plateSampling(cairo_t* cr, int number)
{
    double top = beginPlate(cr, number, "Il campionamento personale dell'aria",
                            "Per misurare l'esposizione di un lavoratore si aspira l'aria della sua zona "
                            "respiratoria, entro circa 30 cm da naso e bocca, attraverso un filtro a "
                            "membrana montato in un portafiltro aperto. Una pompa portatile alla cintura "
                            "mantiene costante il flusso per tutto il turno o la fase di lavoro. In "
                            "laboratorio le fibre raccolte sul filtro si contano al microscopio ottico in "
                            "contrasto di fase (MOCF) o al microscopio elettronico a scansione (SEM); dal "
                            "numero di fibre e dal volume d'aria si ricava la concentrazione in ff/cc.");
    const double cx = Margin + 150, feet = captionTop() - 30;
    worker(cr, cx, feet, {0.75, 0.8, 0.9});
    // breathing zone
    setColour(cr, Green);
    static const double dash[] = {4, 3};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, cx, feet - 250, 62, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // pump on the belt, tube up to the collar
    setColour(cr, {0.2, 0.2, 0.25});
    roundedBox(cr, cx + 30, feet - 132, 34, 26, 4);
    cairo_fill(cr);
    setColour(cr, {0.1, 0.4, 0.7});
    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, cx + 47, feet - 132);
    cairo_curve_to(cr, cx + 70, feet - 170, cx + 40, feet - 200, cx + 26, feet - 214);
    cairo_stroke(cr);
    setColour(cr, {0.9, 0.5, 0.1});
    cairo_rectangle(cr, cx + 14, feet - 224, 18, 12);
    cairo_fill(cr);

    callout(cr, cx + 23, feet - 218, cx + 150, feet - 290, "portafiltro con filtro a membrana", false);
    callout(cr, cx + 55, feet - 110, cx + 150, feet - 120, "pompa di campionamento", false);
    callout(cr, cx + 60, feet - 170, cx + 150, feet - 200, "tubo flessibile", false);
    callout(cr, cx - 50, feet - 290, cx - 110, feet - 330, "zona respiratoria", true);

    // The cassette and the counting field, enlarged.
    const double bx = PageWidth - Margin - 140, by = top + 20;
    setColour(cr, Navy);
    text(cr, bx + 70, by, 10, "Filtro al microscopio", Align::Centre, true);
    fieldOfView(cr, bx + 70, by + 90, 70);
    cairo_save(cr);
    circleClip(cr, bx + 70, by + 90, 70);
    Random rnd{11};
    for (int i = 0; i < 9; ++i)
        needle(cr, rnd, bx + rnd.next() * 140, by + 30 + rnd.next() * 120, 18 + rnd.next() * 40,
               rnd.next() * M_PI, 1.2);
    setColour(cr, Grey);
    cairo_set_line_width(cr, 0.6);
    cairo_rectangle(cr, bx + 30, by + 50, 80, 80);
    cairo_stroke(cr);
    cairo_restore(cr);
    fieldBorder(cr, bx + 70, by + 90, 70);
    setColour(cr, Ink);
    paragraph(cr, bx, by + 185, 140, 8.5,
              "Si contano le fibre nei campi del reticolo, si riportano all'area del filtro e si "
              "dividono per il volume d'aria aspirato.");
}

void platePhases(cairo_t* cr, int number)
{
    double top = beginPlate(cr, number, "Le fasi di una bonifica",
                            "La rimozione di materiali friabili avviene in una zona confinata con teli di "
                            "polietilene e mantenuta in depressione da estrattori con filtri assoluti, "
                            "così che l'aria entri nel cantiere e non ne esca. Si entra e si esce solo "
                            "attraverso l'unità di decontaminazione. Il materiale si bagna prima di "
                            "rimuoverlo e si chiude in sacchi etichettati. Al termine, dopo la pulizia, "
                            "la misura di restituibilità dell'ambiente (2 f/l al SEM, D.M. 6/9/1994) "
                            "precede la riconsegna dei locali.");
    static const char* const steps[] = {
        "1. Piano di lavoro e notifica all'organo di vigilanza",
        "2. Confinamento statico (teli) e dinamico (estrattori in depressione)",
        "3. Rimozione a umido del materiale",
        "4. Insaccamento, etichettatura e allontanamento dei rifiuti",
        "5. Pulizia fine e monitoraggio dell'aria",
        "6. Misura di restituibilità e riconsegna dei locali",
    };
    double y = top + 8;
    for (int i = 0; i < 6; ++i) {
        cairo_set_source_rgb(cr, 0.88, 0.9, 0.97);
        roundedBox(cr, Margin + 40, y, PageWidth - 2 * Margin - 80, 30, 6);
        cairo_fill(cr);
        setColour(cr, Ink);
        text(cr, Margin + 54, y + 19, 10, steps[i]);
        if (i < 5) {
            setColour(cr, Navy);
            cairo_move_to(cr, PageWidth / 2, y + 30);
            cairo_line_to(cr, PageWidth / 2 - 5, y + 34);
            cairo_line_to(cr, PageWidth / 2 + 5, y + 34);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        y += 38;
    }

    // Decontamination unit: four rooms between the clean side and the work area.
    y += 30;
    setColour(cr, Navy);
    text(cr, PageWidth / 2, y, 11, "Unità di decontaminazione del personale", Align::Centre, true);
    static const char* const rooms[] = {"locale\nincontaminato", "chiusa\nd'aria", "locale\ndoccia",
                                        "locale\nequipaggiamento"};
    const double roomW = 92, roomH = 70;
    double rx = Margin + 40;
    const double ry = y + 40;
    setColour(cr, Green);
    text(cr, Margin, ry + roomH / 2 + 3, 9, "esterno");
    for (int i = 0; i < 4; ++i) {
        cairo_set_source_rgb(cr, 0.95 - i * 0.05, 0.97 - i * 0.03, 1.0);
        cairo_rectangle(cr, rx, ry, roomW, roomH);
        cairo_fill(cr);
        setColour(cr, Ink);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, rx, ry, roomW, roomH);
        cairo_stroke(cr);
        std::string label = rooms[i];
        size_t nl = label.find('\n');
        text(cr, rx + roomW / 2, ry + 30, 9, label.substr(0, nl), Align::Centre);
        text(cr, rx + roomW / 2, ry + 44, 9, label.substr(nl + 1), Align::Centre);
        rx += roomW;
    }
    setColour(cr, Red);
    text(cr, rx + 6, ry + roomH / 2 + 3, 9, "zona di lavoro");
    // airflow arrow towards the work area
    setColour(cr, Navy);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, Margin + 40, ry + roomH + 20);
    cairo_line_to(cr, rx, ry + roomH + 20);
    cairo_stroke(cr);
    cairo_move_to(cr, rx, ry + roomH + 20);
    cairo_line_to(cr, rx - 8, ry + roomH + 15);
    cairo_line_to(cr, rx - 8, ry + roomH + 25);
    cairo_close_path(cr);
    cairo_fill(cr);
    text(cr, (Margin + 40 + rx) / 2, ry + roomH + 36, 9, "l'aria passa dall'esterno verso la zona di lavoro",
         Align::Centre);
}

void plateDistribution(cairo_t* cr, int number)
{
    std::vector<FolderFigures> folders = folderFigures();
    int zeros = folders.empty() ? 0 : folders.back().zero;
    double top = beginPlate(cr, number, "Concentrazioni della banca dati per cartella",
                            "Ogni punto è una voce del set di dati dimostrativo, sotto la cartella "
                            "principale indicata a sinistra (una voce presente in più punti dell'albero "
                            "conta una volta). L'asse è logaritmico: ogni tacca principale vale dieci "
                            "volte la precedente. La linea rossa segna 0.1 ff/cc. Le voci con valore 0 (" +
                                std::to_string(zeros) +
                                " in tutto) non compaiono. Il grafico è ricavato dai dati quando l'album "
                                "viene generato.");
    const int firstDecade = -5, decades = 8;  // 1e-5 .. 1e3 ff/cc
    const double left = Margin + 120, right = PageWidth - Margin - 10;
    const double rowH = std::min(90.0, (captionTop() - top - 80) / std::max<size_t>(folders.size(), 1));
    auto xOf = [&](double value) {
        return left + (std::log10(value) - firstDecade) / decades * (right - left);
    };
    double y = top + 20;
    Random rnd{5};
    for (const FolderFigures& folder : folders) {
        setColour(cr, Light);
        cairo_rectangle(cr, left, y, right - left, rowH - 12);
        cairo_fill(cr);
        setColour(cr, Ink);
        std::string name = utf8FromCp1252(folder.name);
        text(cr, left - 8, y + rowH / 2 - 6, 10, name, Align::Right, true);
        text(cr, left - 8, y + rowH / 2 + 8, 8, std::to_string(folder.concentrations.size()) + " voci", Align::Right);
        setColour(cr, {0.1, 0.3, 0.6});
        for (double value : folder.concentrations) {
            if (!(value > 0)) continue;
            double x = xOf(std::min(std::max(value, 1e-5), 1e3));
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y + 6 + rnd.next() * (rowH - 24), 1.6, 0, 2 * M_PI);
            cairo_fill(cr);
        }
        y += rowH;
    }
    // axis
    setColour(cr, Ink);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, left, y);
    cairo_line_to(cr, right, y);
    cairo_stroke(cr);
    for (int k = 0; k <= decades; ++k) {
        double x = left + static_cast<double>(k) / decades * (right - left);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, y + 5);
        cairo_stroke(cr);
        char label[16];
        std::snprintf(label, sizeof label, "%g", std::pow(10.0, firstDecade + k));
        text(cr, x, y + 17, 8, label, Align::Centre);
    }
    text(cr, (left + right) / 2, y + 34, 9, "concentrazione (ff/cc, scala logaritmica)", Align::Centre);
    setColour(cr, Red);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, xOf(LimitFfCc), top + 14);
    cairo_line_to(cr, xOf(LimitFfCc), y);
    cairo_stroke(cr);
    text(cr, xOf(LimitFfCc) + 4, top + 12, 8, "0.1 ff/cc");
}

void plateShare(cairo_t* cr, int number)
{
    std::vector<FolderFigures> folders = folderFigures();
    double top = beginPlate(cr, number, "Voci che raggiungono 0.1 ff/cc",
                            "Per ogni cartella principale, la parte rossa della barra è la quota di voci "
                            "con concentrazione di almeno 0.1 ff/cc (100 ff/l), il valore limite italiano "
                            "su 8 ore; la parte grigia è il resto. Sono le voci che la ricerca segna con un "
                            "asterisco. Le quote descrivono il set di dati dimostrativo, non la frequenza "
                            "reale dei superamenti nei luoghi di lavoro.");
    const double left = Margin + 120, right = PageWidth - Margin - 60;
    double y = top + 40;
    for (const FolderFigures& folder : folders) {
        size_t total = folder.concentrations.size();
        double share = total ? static_cast<double>(folder.atOrAboveLimit) / static_cast<double>(total) : 0;
        setColour(cr, Ink);
        text(cr, left - 8, y + 20, 10, utf8FromCp1252(folder.name), Align::Right, true);
        setColour(cr, {0.8, 0.8, 0.8});
        cairo_rectangle(cr, left, y, right - left, 30);
        cairo_fill(cr);
        setColour(cr, Red);
        cairo_rectangle(cr, left, y, (right - left) * share, 30);
        cairo_fill(cr);
        setColour(cr, Ink);
        char label[64];
        std::snprintf(label, sizeof label, "%d su %zu (%.0f%%)", folder.atOrAboveLimit, total, share * 100);
        text(cr, right + 4, y + 19, 9, label);
        y += 70;
    }
    // Decades of the whole data set as a small histogram below the bars.
    if (folders.empty()) return;
    const int firstDecade = -5, decades = 8;
    std::vector<int> counts = decadeCounts(folders.back().concentrations, firstDecade, decades);
    int most = 1;
    for (int c : counts) most = std::max(most, c);
    const double baseY = captionTop() - 50, height = std::max(60.0, baseY - y - 40);
    setColour(cr, Navy);
    text(cr, Margin, baseY - height - 14, 10, "Tutte le voci per decade di concentrazione (ff/cc)", Align::Left,
         true);
    const double barW = (PageWidth - 2 * Margin) / decades;
    for (int k = 0; k < decades; ++k) {
        double lower = std::pow(10.0, firstDecade + k);
        double h = height * counts[static_cast<size_t>(k)] / most;
        setColour(cr, lower >= LimitFfCc ? Red : Grey);
        cairo_rectangle(cr, Margin + k * barW + 4, baseY - h, barW - 8, h);
        cairo_fill(cr);
        setColour(cr, Ink);
        text(cr, Margin + k * barW + barW / 2, baseY - h - 4, 8, std::to_string(counts[static_cast<size_t>(k)]),
             Align::Centre);
        char label[32];
        std::snprintf(label, sizeof label, "%g-%g", lower, lower * 10);
        text(cr, Margin + k * barW + barW / 2, baseY + 14, 7.5, label, Align::Centre);
    }
}

}  // namespace album
