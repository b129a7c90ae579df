#!/usr/bin/env python3
"""Authoring aid, not part of the build.

Composed the first version of the demonstration data set in
app/database/data/ (nodes.tsv, links.tsv). The TSV files are the source of
truth: edit them directly from now on. This script is kept only to show how
the rows were put together; running it again overwrites the TSV files.

    python3 tools/dbgen/authoring/compose_dataset.py app/database/data

Rows cite a publication only where their figure comes from it (the notes on
published figures that came with the product); every other row says in its
bibliography that its value is indicative, not a published measurement.
"""
import sys

IND = ("Valore indicativo dimostrativo, non è una misura pubblicata; "
       "intervallo di letteratura per {phrase}: {lo}-{hi} ff/cc.")
ZERO = ("Valore indicativo dimostrativo, non è una misura pubblicata: "
        "concentrazione sotto il limite di rilevabilità, registrata come 0.")

# Measuring conditions added to a task's name, with the factor applied to the
# task's typical value.
VARIANTS = {
    "": ("{t}", 1.0),
    "p": ("{t}: campionamento personale", 1.0),
    "a": ("{t}: campionamento ambientale", 0.3),
    "M": ("{t} (valore massimo)", 1.8),
    "m": ("{t} (valore minimo)", 0.25),
    "u": ("{t}, con aspirazione localizzata", 0.2),
    "w": ("{t}, a umido", 0.3),
    "s": ("{t}, a secco", 1.5),
}


def num(value):
    """Two significant digits, written without exponent."""
    if value == 0:
        return "0"
    text = "%.2g" % value
    if "e" in text:
        mantissa, exponent = text.split("e")
        exponent = int(exponent)
        digits = mantissa.replace(".", "")
        if exponent < 0:
            text = "0." + "0" * (-exponent - 1) + digits
        else:
            text = str(round(float(text)))
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def rangetext(value):
    return num(value).replace("'", "")


class Data:
    def __init__(self):
        self.nodes = []        # [id, kind, folderId, conc, name, bib]
        self.links = []        # (parent, child) in entry order
        self.next_id = 1
        self.next_fid = 2
        self.expand = False
        self.singles = 0
        self.triples_left = 0

    def _id(self):
        if self.next_id == 950:
            self.next_id = 951
        value = self.next_id
        self.next_id += 1
        return value

    def folder(self, name, parent):
        node_id = self._id()
        fid = self.next_fid
        self.next_fid = 18 if fid == 13 else fid + 1
        self.nodes.append([node_id, "Folder", fid, "0", name, ""])
        self.links.append((parent, node_id))
        return fid, node_id

    def item(self, name, value, bib, parent):
        node_id = self._id()
        text = value if isinstance(value, str) else num(value)
        self.nodes.append([node_id, "Item", 0, text, name, bib])
        self.links.append((parent, node_id))
        return node_id

    def link(self, parent, child):
        self.links.append((parent, child))

    def find(self, name):
        matches = [row[0] for row in self.nodes if row[4] == name]
        assert len(matches) == 1, (name, matches)
        return matches[0]

    def tasks(self, parent, phrase, lo, hi, tasks=None, prefix="", ambient=False, scale=1.0):
        """Indicative items: each task at its typical value under each of its
        measuring conditions, kept inside the stated literature range."""
        bib_base = IND.format(phrase=phrase, lo=rangetext(lo), hi=rangetext(hi))
        made = []
        for task, typical, variants in tasks:
            if self.expand and variants == [""]:
                # Most activities were measured both ways; a few also record
                # the highest value of their campaign.
                self.singles += 1
                variants = ["p", "a"] if self.singles % 2 and not ambient else ["M", "m"]
                if self.singles % 3 == 0 and self.triples_left > 0 and not ambient:
                    self.triples_left -= 1
                    variants = ["p", "a", "M"]
            for code in variants:
                pattern, factor = VARIANTS[code]
                value = min(max(typical * factor * scale, lo), hi)
                bib = bib_base
                if code == "p":
                    bib = "Campionamento personale. " + bib
                elif code == "a":
                    bib = "Campionamento ambientale. " + bib
                made.append(self.item(pattern.format(t=task), float(num(value)), prefix + bib, parent))
        return made


def compose():
    d = Data()
    R = 1
    share = []  # (parent fid, child node id), entered after the owner rows

    # ---------------------------------------------------------------- Ciclo di vita
    CICLO, ciclo_id = d.folder("Ciclo di vita", R)
    BON, bon_id = d.folder("Bonifica", CICLO)
    ph_conf = "la rimozione di materiali friabili nei cantieri di bonifica"
    bon_items = [
        ("Rimozione di coibentazioni in amosite, zona respiratoria dell'addetto (media)", "20.6",
         "Media di due progetti di bonifica, 20.6 +/- 7.9 ff/cc. Fonte: studio di due cantieri di bonifica, 2009"),
        ("Rimozione di coibentazioni in crisotilo, zona respiratoria dell'addetto (media)", "6.3",
         "Media di due progetti di bonifica, 6.3 +/- 2.2 ff/cc. Fonte: studio di due cantieri di bonifica, 2009"),
        ("Rimozione di cartongesso con amianto (media su 8 ore)", "0.85",
         "Media ponderata su 8 ore. Fonte: abstract pubblicato sulle esposizioni per tipo di materiale rimosso"),
        ("Rimozione di piastrelle in vinil-amianto e relativo mastice", "0.04",
         "Fonte: abstract pubblicato sulle esposizioni per tipo di materiale rimosso"),
    ]
    for name, value, bib in bon_items:
        d.item(name, value, bib, BON)
    d.tasks(BON, ph_conf, 0.1, 30, [
        ("Raschiatura di intonaco spruzzato senza confinamento", 18, ["s"]),
        ("Raschiatura di intonaco spruzzato in confinamento", 3.5, ["w"]),
        ("Insacchettamento dei rifiuti nella zona confinata", 1.2, [""]),
        ("Pulizia finale della zona confinata con aspiratore a filtro assoluto", 0.35, [""]),
        ("Smontaggio di controsoffitti in pannelli di amosite", 4.5, [""]),
        ("Decoibentazione di tubazioni con tecnica glove-bag", 0.4, [""]),
    ])
    d.item("Decontaminazione in edifici (valore massimo)", "0.057",
           "Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989", BON)
    d.item("Decontaminazione in edifici (valore minimo)", "0.004",
           "Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989", BON)
    ph_out = "il monitoraggio all'esterno delle zone di bonifica"
    d.tasks(BON, ph_out, 0.001, 0.05, [
        ("Uscita dell'unità di decontaminazione del personale", 0.012, [""]),
        ("Area di deposito temporaneo dei rifiuti insacchettati", 0.009, [""]),
        ("Locali adiacenti al cantiere durante la rimozione", 0.006, ["M", "m"]),
        ("Restituibilità degli ambienti dopo la bonifica", 0.0015, [""]),
        ("Estrattori d'aria del confinamento, punto di scarico", 0.004, [""]),
    ])
    d.tasks(BON, ph_conf, 0.1, 30, [
        ("Rimozione di guarnizioni e cordoni in amianto da forni", 2.2, [""]),
        ("Incapsulamento di coibentazioni friabili a spruzzo", 0.6, [""]),
        ("Rimozione di pannelli in amianto da locali caldaie", 5.5, ["M", "m"]),
        ("Rimozione di rivestimenti di tubazioni in locali tecnici", 3.2, [""]),
        ("Rimozione di manufatti in amianto da vani ascensore", 0.9, [""]),
        ("Rimozione di coibentazioni in cunicoli sotterranei", 6.5, [""]),
        ("Rimozione di intonaco friabile con amianto dai soffitti di una sala cinematografica, con acqua nebulizzata e un tensioattivo",
         2.8, [""]),
        ("Raccolta a umido di frammenti caduti a terra", 0.5, [""]),
    ])
    assert d.next_id == 30, d.next_id

    EST, est_id = d.folder("Estrazione", CICLO)
    assert EST == 4
    ph_cave = "l'estrazione in cave di rocce con amianto naturale"
    d.tasks(EST, ph_cave, 0.001, 2, [
        ("Perforazione di rocce verdi in cava", 0.6, [""]),
        ("Abbattimento con esplosivo, fronte di cava", 1.1, [""]),
        ("Frantumazione del materiale di cava", 0.45, ["p"]),
        ("Taglio di blocchi di pietra ornamentale con filo diamantato", 0.06, [""]),
    ])
    assert d.next_id == 35, d.next_id
    d.item("Cave di serpentinite, in atmosfera circostante", "0.18",
           "Valore massimo. Fonte: 55° Congr. Naz. Med. Lav., 1990", EST)
    d.item("Cave di serpentinite, in atmosfera circostante indoor/outdoor", "0.031",
           "Valore indicativo dimostrativo, non è una misura pubblicata; intervallo di letteratura "
           "per l'aria di abitazioni vicine a cave di rocce con amianto: 0.001-0.2 ff/cc.", EST)
    d.tasks(EST, ph_cave, 0.001, 2, [
        ("Carico del materiale su autocarri in cava", 0.25, [""]),
        ("Strade di cantiere percorse dai mezzi pesanti", 0.08, [""]),
        ("Abitato vicino alla cava, aria esterna", 0.006, [""]),
    ])
    assert d.next_id == 40, d.next_id

    MIN, min_id = d.folder("Industria mineraria", EST)
    assert min_id == 40
    d.expand = True
    d.triples_left = 68
    QUE, que_id = d.folder("Miniere di crisotilo del Quebec", MIN)
    ph_mine = "l'estrazione e la macinazione del crisotilo in miniera"
    d.tasks(QUE, ph_mine, 0.5, 100, [
        ("Frantumatore primario, anni '50", 45, ["M", "m"]),
        ("Perforazione in galleria, anni '50", 18, [""]),
        ("Cernita a mano della roccia fibrosa, anni '40", 60, [""]),
        ("Frantumatore primario, anni '70", 6, [""]),
        ("Essiccatoi della roccia, anni '60", 22, [""]),
        ("Vagliatura e separazione ad aria della fibra, anni '60", 28, ["M", "m"]),
        ("Miniera a cielo aperto, operatori di escavatore", 2.5, [""]),
    ])
    BAL, bal_id = d.folder("Miniera di crisotilo di Balangero", MIN)
    d.tasks(BAL, ph_mine, 0.5, 100, [
        ("Abbattimento del minerale in cava, anni '60", 8, [""]),
        ("Reparto frantumazione, anni '60", 35, ["M", "m"]),
        ("Reparto frantumazione, anni '80", 4, [""]),
        ("Arricchimento e separazione della fibra", 14, ["p", "a"]),
        ("Laboratorio di controllo della qualità della fibra", 1.5, [""]),
        ("Manutenzione dei mulini a martelli", 20, [""]),
    ])
    SUD, sud_id = d.folder("Miniere di anfiboli del Sudafrica", MIN)
    d.tasks(SUD, "l'estrazione degli anfiboli (crocidolite e amosite)", 1, 100, [
        ("Estrazione della crocidolite in galleria", 30, ["M", "m"]),
        ("Macinazione dell'amosite", 40, [""]),
        ("Essiccazione all'aperto della crocidolite", 25, [""]),
        ("Cernita manuale dell'amosite", 55, [""]),
        ("Insacco della crocidolite", 70, [""]),
    ])
    MAC, mac_id = d.folder("Frantumazione e macinazione della fibra", MIN)
    d.tasks(MAC, ph_mine, 0.5, 100, [
        ("Mulino a martelli, operatore", 32, ["p", "a"]),
        ("Sala dei cicloni di separazione", 24, [""]),
        ("Nastri trasportatori della fibra macinata", 12, ["M", "m"]),
        ("Classificazione della fibra per lunghezza", 16, [""]),
        ("Pulizia a secco dei pavimenti del mulino", 50, [""]),
    ])
    INS, ins_id = d.folder("Insacco e spedizione della fibra", MIN)
    d.tasks(INS, "l'insacco della fibra di amianto", 0.5, 100, [
        ("Insaccatrice a bocca aperta, anni '50", 65, [""]),
        ("Insaccatrice a valvola, anni '70", 9, [""]),
        ("Pressatura dei sacchi in juta", 20, [""]),
        ("Palettizzazione dei sacchi", 5, ["p", "a"]),
        ("Carico dei vagoni ferroviari", 7, [""]),
    ])
    MIM, mim_id = d.folder("Manutenzione degli impianti di miniera", MIN)
    d.tasks(MIM, "la manutenzione degli impianti di macinazione", 0.5, 60, [
        ("Sostituzione delle maniche filtranti", 25, [""]),
        ("Riparazione dei nastri trasportatori", 6, [""]),
        ("Saldatura su tramogge della fibra", 4, [""]),
        ("Officina meccanica di miniera", 1.2, ["M", "m"]),
    ])

    PSO, pso_id = d.folder("Prospezione e sondaggi minerari", MIN)
    d.tasks(PSO, "la prospezione di giacimenti di amianto", 0.1, 20, [
        ("Carotaggio di rocce mineralizzate", 1.5, [""]),
        ("Scavo di trincee esplorative", 0.8, [""]),
        ("Preparazione dei campioni di carota", 2.5, [""]),
        ("Galleria esplorativa, avanzamento", 6, [""]),
    ])

    # Trasformazione e utilizzo
    TRA, tra_id = d.folder("Trasformazione e utilizzo", CICLO)
    COI, coi_id = d.folder("Coibentazioni", TRA)
    COT, cot_id = d.folder("Coibentazione di tubazioni e caldaie", COI)
    d.item("Coibentatori, fine anni '60 - inizio anni '70 (valore minimo della media)", "2",
           "Media delle esposizioni dei coibentatori: da 2 a 10 ff/cc. Fonte: rassegna in J Toxicol Environ "
           "Health B, 2007", COT)
    d.item("Coibentatori, fine anni '60 - inizio anni '70 (valore massimo della media)", "10",
           "Media delle esposizioni dei coibentatori: da 2 a 10 ff/cc. Fonte: rassegna in J Toxicol Environ "
           "Health B, 2007", COT)
    d.tasks(COT, "la coibentazione di tubazioni e caldaie", 1, 20, [
        ("Taglio a secco di coppelle in silicato di calcio con amianto", 9, [""]),
        ("Miscelazione a mano di impasto isolante", 14, ["M", "m"]),
        ("Applicazione di impasto isolante su caldaie", 6, [""]),
        ("Rivestimento di tubazioni con nastri e cordoni", 3, [""]),
        ("Posa di materassini di amianto su turbine", 5, ["p", "a"]),
        ("Aiuto coibentatore, preparazione dei materiali", 4, [""]),
    ])
    SPR, spr_id = d.folder("Applicazione a spruzzo", COI)
    d.item("Applicazione a spruzzo di coibente contenente amianto (valore minimo)", "30",
           "Intervallo da 30 a oltre 100 ff/cc. Fonte: Reitze, Selikoff et al., AIHA J 1972", SPR)
    d.item("Applicazione a spruzzo di coibente contenente amianto (valore massimo)", "100",
           "Intervallo da 30 a oltre 100 ff/cc: registrato il limite inferiore del valore massimo. "
           "Fonte: Reitze, Selikoff et al., AIHA J 1972", SPR)
    spray_far = d.item("Applicazione a spruzzo, a circa 23 m dal punto di spruzzatura", "46",
                       "Fonte: Reitze, Selikoff et al., AIHA J 1972", SPR)
    d.tasks(SPR, "l'applicazione a spruzzo di coibenti con amianto", 10, 150, [
        ("Caricamento della macchina spruzzatrice", 40, [""]),
        ("Addetto alla lancia di spruzzatura su travi in acciaio", 70, ["p"]),
        ("Rifinitura a cazzuola dello strato spruzzato", 25, [""]),
        ("Pulizia del cantiere dopo la spruzzatura", 35, [""]),
    ])
    SCO, sco_id = d.folder("Scoibentazione durante la manutenzione", COI)
    d.tasks(SCO, "la scoibentazione durante la manutenzione di impianti", 0.5, 40, [
        ("Rimozione di coibentazioni da valvole e flange", 6, ["s", "w"]),
        ("Apertura di passi d'uomo coibentati", 3.5, [""]),
        ("Rimozione di coibente da tubazioni di vapore", 12, ["M", "m"]),
        ("Sostituzione di cordoni di tenuta su portelli", 1.6, [""]),
        ("Pulizia di locali dopo scoibentazione", 2.4, [""]),
    ])

    EDI, edi_id = d.folder("Edilizia", TRA)
    TAG, tag_id = d.folder("Taglio e foratura di manufatti in cemento amianto", EDI)
    d.item("Taglio di tubi in cemento amianto con sega (media)", "53.8",
           "Misure per mansione, intervallo 11.3-129 ff/cc. Fonte: Gottesfeld et al., Ann Work Expo Health 2023",
           TAG)
    d.item("Taglio di lastre in cemento amianto con sega (media)", "24",
           "Misure per mansione, intervallo 1.3-130 ff/cc. Fonte: Gottesfeld et al., Ann Work Expo Health 2023",
           TAG)
    d.tasks(TAG, "il taglio di manufatti in fibrocemento", 1.3, 130, [
        ("Taglio di lastre ondulate con smerigliatrice angolare", 35, ["s", "u"]),
        ("Foratura di lastre con trapano", 2.5, [""]),
        ("Taglio di tubi con tagliatubi a rotelle", 1.6, [""]),
        ("Levigatura di bordi di lastre piane", 12, [""]),
        ("Taglio di pannelli piani con sega circolare a mano", 40, ["M", "m"]),
    ])
    POS, pos_id = d.folder("Posa di coperture e canali di gronda", EDI)
    d.tasks(POS, "la posa di coperture in fibrocemento", 0.01, 5, scale=0.3, tasks=[
        ("Posa di lastre ondulate su capriate", 0.25, [""]),
        ("Fissaggio delle lastre con viti e ganci", 0.3, [""]),
        ("Posa di canali di gronda", 0.15, [""]),
        ("Adattamento in opera dei colmi", 1.3, [""]),
        ("Movimentazione delle lastre sul tetto", 0.08, [""]),
    ])
    RCO, rco_id = d.folder("Rimozione di coperture in cemento amianto", EDI)
    d.tasks(RCO, "la rimozione di coperture in fibrocemento", 0.005, 1, scale=0.4, tasks=[
        ("Trattamento incapsulante delle lastre prima della rimozione", 0.02, [""]),
        ("Svitatura e rimozione delle lastre integre", 0.05, ["p", "a"]),
        ("Rimozione di lastre deteriorate", 0.15, ["M", "m"]),
        ("Calo a terra dei pacchi di lastre con gru", 0.03, [""]),
        ("Pulizia dei canali di gronda", 0.4, [""]),
        ("Rimozione di lastre rotte con sega", 0.9, [""]),
    ])
    DEM, dem_id = d.folder("Demolizione di edifici con cemento amianto", EDI)
    d.tasks(DEM, "la demolizione di edifici con manufatti in fibrocemento", 0.01, 10, scale=0.15, tasks=[
        ("Demolizione meccanica senza rimozione preventiva", 2.4, ["M", "m"]),
        ("Demolizione dopo la rimozione preventiva", 0.04, [""]),
        ("Frantumazione delle macerie in cantiere", 0.6, [""]),
        ("Carico delle macerie su autocarri", 0.3, [""]),
        ("Cernita manuale delle macerie", 1.1, [""]),
    ])
    CAN, can_id = d.folder("Canne fumarie e serbatoi in cemento amianto", EDI)
    d.tasks(CAN, "lo smontaggio di canne fumarie e serbatoi in fibrocemento", 0.01, 5, scale=0.3, tasks=[
        ("Smontaggio di canne fumarie all'interno di edifici", 0.5, ["M", "m"]),
        ("Rimozione di serbatoi idrici dai sottotetti", 0.25, [""]),
        ("Taglio di canne fumarie con smerigliatrice", 3.8, [""]),
        ("Spazzacamino, pulizia di canne fumarie", 0.12, [""]),
    ])
    INT, int_id = d.folder("Intonaci e pannelli isolanti", EDI)
    d.tasks(INT, "la lavorazione di intonaci e pannelli isolanti con amianto", 0.1, 30, [
        ("Carteggiatura di intonaci con amianto", 9, [""]),
        ("Foratura di pannelli isolanti in amosite", 6, ["u"]),
        ("Posa di pannelli isolanti in amosite", 2.8, [""]),
        ("Demolizione di tramezzi rivestiti", 5, [""]),
        ("Rasatura di stucchi contenenti amianto", 1.3, ["p", "a"]),
    ])
    IMP, imp_id = d.folder("Impiantistica civile", EDI)
    d.tasks(IMP, "gli interventi impiantistici su materiali con amianto", 0.01, 5, scale=0.25, tasks=[
        ("Elettricista, passaggio di cavi sopra controsoffitti", 0.9, ["M", "m"]),
        ("Idraulico, rimozione di guarnizioni di caldaie domestiche", 0.35, [""]),
        ("Idraulico, taglio di tubi di scarico", 1.6, [""]),
        ("Installatore di condizionatori, foratura di pareti", 0.35, [""]),
        ("Manutentore di ascensori, freni dei montacarichi", 0.2, [""]),
        ("Antennista, lavori su coperture ondulate", 0.05, [""]),
    ])

    NAV, nav_id = d.folder("Cantieristica navale", TRA)
    ALL, all_id = d.folder("Allestimento e coibentazione a bordo", NAV)
    d.tasks(ALL, "la coibentazione nei cantieri navali", 2, 40, [
        ("Coibentatori nelle sale macchine delle navi", 14, ["M", "m"]),
        ("Tubisti a bordo durante la coibentazione", 6, [""]),
        ("Saldatori in locali coibentati", 4, [""]),
        ("Elettricisti di bordo", 3, [""]),
        ("Carpentieri in sala macchine", 5, ["p", "a"]),
        ("Pittori a bordo in locali coibentati", 2.5, [""]),
    ])
    RIP, rip_id = d.folder("Riparazioni e trasformazioni navali", NAV)
    d.tasks(RIP, "le riparazioni navali", 0.5, 40, [
        ("Strappo delle coibentazioni in sala macchine", 25, ["M", "m"]),
        ("Riparazione di caldaie navali", 8, [""]),
        ("Sostituzione di tubazioni di vapore a bordo", 5.5, [""]),
        ("Smontaggio di paratie tagliafuoco", 7, [""]),
        ("Pulizia delle sentine dopo la scoibentazione", 3, [""]),
    ])
    SER, ser_id = d.folder("Navi in servizio", NAV)
    d.item("Navi in servizio 1978-1992, campionamento d'area (media)", "0.008",
           "Media 0.008 ff/cc, 95° percentile 0.040 ff/cc. Fonte: studio su navi in servizio 1978-1992", SER)
    d.item("Navi in servizio 1978-1992, campionamento d'area (95° percentile)", "0.04",
           "Media 0.008 ff/cc, 95° percentile 0.040 ff/cc. Fonte: studio su navi in servizio 1978-1992", SER)
    d.tasks(SER, "i locali di navi in servizio", 0.001, 0.04, ambient=True, tasks=[
        ("Sala macchine in navigazione", 0.012, [""]),
        ("Alloggi dell'equipaggio", 0.002, [""]),
        ("Cucina di bordo", 0.003, [""]),
        ("Locale caldaie ausiliarie", 0.02, [""]),
    ])
    DNA, dna_id = d.folder("Demolizione navale", NAV)
    d.tasks(DNA, "la demolizione di navi", 0.5, 50, [
        ("Taglio con cannello di lamiere coibentate", 9, ["M", "m"]),
        ("Strappo a secco delle coibentazioni", 30, [""]),
        ("Cernita dei rottami", 2, [""]),
        ("Rimozione di pavimenti di bordo", 1.5, [""]),
    ])

    CTE, cte_id = d.folder("Centrale termoelettrica", TRA)
    CAL, cal_id = d.folder("Manutenzione di caldaie e condotte", CTE)
    valves = d.item("Centrali elettriche a vapore: rimozione di guarnizioni di valvole", "0.3",
                    IND.format(phrase="la manutenzione di valvole e guarnizioni in centrale", lo="0.05", hi="2"), CAL)
    d.tasks(CAL, "la manutenzione di caldaie e condotte in centrale", 0.1, 20, [
        ("Rimozione di coibentazioni dai corpi cilindrici", 8, ["M", "m"]),
        ("Sostituzione di guarnizioni di passi d'uomo", 0.9, [""]),
        ("Riparazione di condotte di vapore surriscaldato", 3.5, [""]),
        ("Pulizia interna dei focolari", 1.4, [""]),
        ("Rifacimento del refrattario delle caldaie", 2.2, ["p", "a"]),
    ])
    MAC2, mac2_id = d.folder("Sala macchine e turbine", CTE)
    turbine = d.item("Turbinista in zona turbina", "0.004",
                     IND.format(phrase="l'aria della sala macchine in esercizio", lo="0.001", hi="0.05"), MAC2)
    d.tasks(MAC2, "la revisione delle turbine a vapore", 0.05, 15, [
        ("Smontaggio dei materassini coibenti della turbina", 4, ["M", "m"]),
        ("Revisione degli alternatori", 0.6, [""]),
        ("Rimontaggio dei carter coibentati", 1.2, [""]),
    ])
    d.tasks(MAC2, "l'aria della sala macchine in esercizio", 0.001, 0.05, ambient=True, tasks=[
        ("Quadro di controllo della sala macchine", 0.003, [""]),
        ("Condensatori e pompe di alimento", 0.008, [""]),
    ])

    FER, fer_id = d.folder("Officine ferroviarie", TRA)
    CAR, car_id = d.folder("Scoibentazione di carrozze", FER)
    d.tasks(CAR, "la scoibentazione di rotabili ferroviari", 0.5, 50, [
        ("Raschiatura a secco della crocidolite spruzzata nelle carrozze", 35, ["M", "m"]),
        ("Raschiatura a umido in capannone confinato", 4, [""]),
        ("Smontaggio degli arredi interni", 2.5, [""]),
        ("Pulizia delle casse dopo la scoibentazione", 6, [""]),
        ("Addetto al deposito dei materiali rimossi", 1.5, [""]),
    ])
    LOC, loc_id = d.folder("Manutenzione di locomotive", FER)
    d.tasks(LOC, "la manutenzione di locomotive e carri", 0.05, 10, scale=0.4, tasks=[
        ("Sostituzione di ceppi freno in ghisa e amianto", 0.8, ["p", "a"]),
        ("Revisione di locomotive a vapore, caldaie", 5, [""]),
        ("Sostituzione di guarnizioni di motori diesel", 0.5, [""]),
        ("Soffiatura ad aria compressa dei carrelli", 2.5, [""]),
    ])

    FRE, fre_id = d.folder("Manutenzione di freni e frizioni", TRA)
    AUT, aut_id = d.folder("Officine di autoriparazione", FRE)
    ph_brake = "la manutenzione di freni senza aria compressa"
    d.item("Manutenzione di freni senza aria compressa (valore minimo)", "0.05",
           "Intervallo 0.05-0.2 ff/cc. Fonte: studio dell'esposizione del personale addetto alla "
           "manutenzione dei freni di veicoli", AUT)
    d.item("Manutenzione di freni senza aria compressa (valore massimo)", "0.2",
           "Intervallo 0.05-0.2 ff/cc. Fonte: studio dell'esposizione del personale addetto alla "
           "manutenzione dei freni di veicoli", AUT)
    d.item("Manutenzione di freni con pulizia ad aria compressa (valore massimo)", "0.9",
           "Intervallo 0.05-0.9 ff/cc. Fonte: studio dell'esposizione del personale addetto alla "
           "manutenzione dei freni di veicoli", AUT)
    d.item("Tornitura ad arco delle guarnizioni dei freni (media)", "0.19",
           "0.19 +/- 0.16 ff/cc. Fonte: studio dell'esposizione del personale addetto alla "
           "manutenzione dei freni di veicoli", AUT)
    brake_lo = d.item("Manutenzione di freni con sistemi di controllo (valore minimo)", "0.004",
                      "Da meno di 0.004 a 0.016 ff/cc: registrato il limite di rilevabilità. "
                      "Fonte: Appl Occup Environ Hyg 1989", AUT)
    brake_hi = d.item("Manutenzione di freni con sistemi di controllo (valore massimo)", "0.016",
                      "Da meno di 0.004 a 0.016 ff/cc. Fonte: Appl Occup Environ Hyg 1989", AUT)
    d.tasks(AUT, ph_brake, 0.05, 0.2, scale=0.6, tasks=[
        ("Sostituzione di pastiglie dei freni a disco", 0.06, [""]),
        ("Pulizia a pennello dei tamburi dei freni", 0.15, [""]),
        ("Smerigliatura delle ganasce dei freni", 0.18, [""]),
        ("Sostituzione del disco della frizione", 0.09, [""]),
    ])
    VEI, vei_id = d.folder("Veicoli industriali e autobus", FRE)
    d.tasks(VEI, "la manutenzione di freni di veicoli pesanti", 0.05, 0.9, scale=0.3, tasks=[
        ("Sostituzione delle ganasce di autocarri", 0.35, ["M", "m"]),
        ("Soffiatura dei tamburi di autobus", 0.7, [""]),
        ("Rivettatura delle guarnizioni dei freni", 0.25, [""]),
        ("Officina di deposito degli autobus urbani", 0.06, [""]),
    ])

    VET, vet_id = d.folder("Vetrerie", TRA)
    VCA, vca_id = d.folder("Formatura del vetro cavo", VET)
    ph_glass = "l'uso di tessuti e guarnizioni di amianto nelle vetrerie"
    d.tasks(VCA, ph_glass, 0.05, 3, scale=0.25, tasks=[
        ("Addetto alle macchine formatrici di bottiglie", 0.35, ["p", "a"]),
        ("Sostituzione dei tamponi di amianto delle formatrici", 1.8, [""]),
        ("Levata dei pezzi con guanti di amianto", 0.25, [""]),
        ("Manutenzione dei forni di ricottura", 1.1, [""]),
        ("Taglio di nastri di amianto per i trasportatori", 2.4, [""]),
    ])
    VPI, vpi_id = d.folder("Vetro piano", VET)
    d.tasks(VPI, ph_glass, 0.05, 3, scale=0.4, tasks=[
        ("Sostituzione dei rulli rivestiti del forno di tempra", 1.5, ["M", "m"]),
        ("Controllo del nastro di vetro all'uscita del forno", 0.15, [""]),
        ("Rifacimento delle tenute dei forni fusori", 2.6, [""]),
    ])

    RAF, raf_id = d.folder("Raffinerie e impianti chimici", TRA)
    FOR, for_id = d.folder("Manutenzione di forni e tubazioni", RAF)
    d.tasks(FOR, "la manutenzione di impianti di raffinazione", 0.05, 5, scale=0.25, tasks=[
        ("Rimozione di coibentazioni da colonne di distillazione", 3.2, ["M", "m"]),
        ("Sostituzione di guarnizioni di flange", 0.35, [""]),
        ("Rifacimento dei refrattari dei forni", 1.6, [""]),
        ("Pulizia degli scambiatori di calore", 0.9, [""]),
        ("Operatore di impianto durante la fermata", 0.12, [""]),
    ])
    CEL, cel_id = d.folder("Celle elettrolitiche a diaframma", RAF)
    d.tasks(CEL, "la preparazione dei diaframmi di amianto delle celle cloro-soda", 0.05, 5, scale=0.25, tasks=[
        ("Preparazione della sospensione di amianto per i diaframmi", 2.5, ["M", "m"]),
        ("Deposizione dei diaframmi sui catodi", 0.8, [""]),
        ("Rimozione dei diaframmi esausti", 1.3, [""]),
        ("Sala celle durante l'esercizio", 0.08, [""]),
    ])
    ACC, acc_id = d.folder("Acciaierie e fonderie", TRA)
    d.tasks(ACC, "l'uso di materiali con amianto in acciaierie e fonderie", 0.05, 5, scale=0.25, tasks=[
        ("Rifacimento del refrattario delle siviere", 1.4, ["M", "m"]),
        ("Colata in lingottiera con coperte di amianto", 0.5, [""]),
        ("Manutenzione dei forni elettrici", 0.9, [""]),
        ("Sbavatura dei getti con protezioni in amianto", 0.3, [""]),
        ("Preparazione delle forme in fonderia", 0.2, ["p", "a"]),
    ])
    AUTO, auto_id = d.folder("Industria automobilistica", TRA)
    d.tasks(AUTO, "il montaggio di componenti con amianto nei veicoli", 0.01, 2, scale=0.3, tasks=[
        ("Montaggio delle guarnizioni dei freni in linea", 0.15, [""]),
        ("Montaggio delle guarnizioni della testata", 0.05, [""]),
        ("Applicazione di sottoscocca con fibre", 0.4, [""]),
        ("Collaudo dei freni al banco", 0.08, [""]),
        ("Rettifica dei dischi frizione prima del montaggio", 0.9, [""]),
    ])
    AER, aer_id = d.folder("Industria aeronautica", TRA)
    d.tasks(AER, "la manutenzione di aeromobili con componenti in amianto", 0.01, 5, scale=0.3, tasks=[
        ("Sostituzione di schermi parafiamma dei motori", 0.7, [""]),
        ("Revisione dei freni dei carrelli", 0.3, [""]),
        ("Sostituzione di guarnizioni dei condotti di scarico", 0.2, [""]),
        ("Smontaggio di pannelli isolanti delle cabine", 1.2, [""]),
    ])
    GOM, gom_id = d.folder("Industria della gomma e delle materie plastiche", TRA)
    d.tasks(GOM, "l'uso di cariche minerali con amianto nella gomma e nelle plastiche", 0.05, 10, scale=0.4, tasks=[
        ("Dosaggio delle cariche in mescolatore Banbury", 2.2, [""]),
        ("Estrusione di profilati caricati", 0.3, [""]),
        ("Stampaggio di manufatti in resina fenolica con amianto", 0.8, [""]),
        ("Vulcanizzazione in autoclave con coperte di amianto", 0.5, [""]),
        ("Spolveratura degli stampi con talco contaminato", 1.4, [""]),
    ])
    ACQ, acq_id = d.folder("Tubazioni in cemento amianto negli acquedotti", TRA)
    d.tasks(ACQ, "la manutenzione di condotte idriche in fibrocemento", 0.01, 10, scale=0.4, tasks=[
        ("Taglio di tubi interrati con mola abrasiva", 4, ["M", "m"]),
        ("Riparazione di perdite su condotte", 0.3, [""]),
        ("Allaccio di utenze con foratura del tubo", 0.6, [""]),
        ("Scavo a mano attorno alle condotte", 0.05, [""]),
    ])

    # Produzione manufatti
    PRO, pro_id = d.folder("Produzione manufatti", CICLO)
    FCA, fca_id = d.folder("Fabbriche di cemento amianto", PRO)
    IMS, ims_id = d.folder("Apertura sacchi e preparazione dell'impasto", FCA)
    ph_ac = "la produzione di manufatti in fibrocemento"
    d.tasks(IMS, ph_ac, 0.1, 45, [
        ("Apertura manuale dei sacchi di fibra", 25, ["M", "m"]),
        ("Svuotamento dei sacchi nella molazza", 18, [""]),
        ("Molazza per l'apertura della fibra", 10, ["p", "a"]),
        ("Impasto della fibra con cemento e acqua", 4, [""]),
        ("Recupero degli scarti di lavorazione", 3, [""]),
        ("Pulizia del reparto con scope", 12, [""]),
    ])
    d.item("Impasto del cemento amianto in olandese, anni '70", "6",
           IND.format(phrase="la produzione di manufatti in fibrocemento", lo="0.1", hi="45"), IMS)
    LAS, las_id = d.folder("Lastre in cemento amianto", FCA)
    d.tasks(LAS, ph_ac, 0.1, 45, [
        ("Macchina continua per lastre, operatore", 2.5, ["p", "a"]),
        ("Ondulatrice", 1.8, [""]),
        ("Rifilatura a secco dei bordi delle lastre", 9, ["M", "m"]),
        ("Impilatura delle lastre stagionate", 1.2, [""]),
        ("Foratura delle lastre per colmi e accessori", 3.4, [""]),
    ])
    d.item("Formatura di accessori in cemento amianto a mano", "2.8",
           IND.format(phrase="la produzione di manufatti in fibrocemento", lo="0.1", hi="45"), LAS)
    TUB, tub_id = d.folder("Tubi in cemento amianto", FCA)
    d.tasks(TUB, ph_ac, 0.1, 45, [
        ("Macchina per tubi, avvolgimento sul mandrino", 2, ["p", "a"]),
        ("Tornitura delle estremità dei tubi", 11, ["M", "m"]),
        ("Collaudo idraulico dei tubi", 0.6, [""]),
        ("Produzione dei giunti", 4.5, [""]),
    ])
    FIN, fin_id = d.folder("Finitura, taglio e magazzino", FCA)
    d.tasks(FIN, ph_ac, 0.1, 45, [
        ("Taglio a misura con sega a nastro", 7, ["s", "u"]),
        ("Smerigliatura dei pezzi speciali", 5, [""]),
        ("Carico dei prodotti finiti", 0.5, [""]),
        ("Magazzino delle materie prime", 3.5, ["M", "m"]),
    ])
    USA_AC, usa_ac_id = d.folder("Stabilimenti statunitensi di cemento amianto", FCA)
    d.item("Fabbricazione di manufatti in cemento amianto (media in mppcf)", "7.6",
           "Media 7.6 mppcf (milioni di particelle per piede cubo), non ff/cc; conversioni pubblicate 1.4-6 ff/ml "
           "per mppcf. Fonte: Hughes, Weill, Hammad, Br J Ind Med 1987;44:161", USA_AC)
    d.tasks(USA_AC, ph_ac, 0.1, 45, [
        ("Reparto preparazione della fibra, anni '50", 30, ["M", "m"]),
        ("Reparto tubi, anni '60", 8, [""]),
        ("Reparto finitura, anni '60", 14, [""]),
        ("Manutenzione meccanica, anni '60", 5, [""]),
    ])

    ATT, att_id = d.folder("Produzione di materiali d'attrito", PRO)
    MES, mes_id = d.folder("Reparto mescole", ATT)
    d.item("Produzione di guarnizioni per freni, media su 8 ore", "0.78",
           "Media ponderata su 8 ore. Fonte: Ind Health 2007;45:787", MES)
    d.item("Mescolatrice: campionamento ambientale", "2.2",
           IND.format(phrase="la produzione di materiali d'attrito", lo="0.05", hi="5"), MES)
    d.tasks(MES, "la produzione di materiali d'attrito", 0.05, 5, [
        ("Mescolatrice", 2.8, ["p"]),
        ("Pesatura della fibra e delle resine", 3.6, ["M", "m"]),
        ("Carico della tramoggia della mescolatrice", 3, [""]),
        ("Pulizia del reparto mescole", 4.2, [""]),
    ])
    STA, sta_id = d.folder("Stampaggio e preformazione", ATT)
    d.item("Pastigliatrici", "1.9", IND.format(phrase="la produzione di materiali d'attrito", lo="0.05", hi="5"),
           STA)
    d.item("Preformazione ceppi", "1.8", IND.format(phrase="la produzione di materiali d'attrito", lo="0.05", hi="5"),
           STA)
    d.tasks(STA, "la produzione di materiali d'attrito", 0.05, 5, scale=0.4, tasks=[
        ("Pressatura a caldo delle guarnizioni", 0.9, ["p", "a"]),
        ("Carico degli stampi", 1.4, [""]),
        ("Polimerizzazione in forno", 0.3, [""]),
        ("Stampaggio di dischi frizione", 1.1, [""]),
    ])
    RET, ret_id = d.folder("Rettifica e finitura", ATT)
    d.tasks(RET, "la produzione di materiali d'attrito", 0.05, 5, scale=0.4, tasks=[
        ("Rettifica delle guarnizioni", 2.6, ["u", "M", "m"]),
        ("Foratura e rivettatura", 1.5, [""]),
        ("Smussatura dei bordi", 1.9, [""]),
        ("Controllo e imballaggio", 0.4, [""]),
    ])
    RIG, rig_id = d.folder("Rigenerazione di freni e frizioni", ATT)
    d.item("Rigenerazione di freni e frizioni, Giappone (valore minimo)", "0.025",
           "Intervallo 0.025-76.4 ff/cc, medie geometriche 0.38-0.86 ff/cc. Fonte: abstract pubblicato, Giappone",
           RIG)
    d.item("Rigenerazione di freni e frizioni, Giappone (valore massimo)", "76.4",
           "Intervallo 0.025-76.4 ff/cc, medie geometriche 0.38-0.86 ff/cc. Fonte: abstract pubblicato, Giappone",
           RIG)
    d.item("Rigenerazione di freni e frizioni, Giappone (media geometrica minima)", "0.38",
           "Intervallo 0.025-76.4 ff/cc, medie geometriche 0.38-0.86 ff/cc. Fonte: abstract pubblicato, Giappone",
           RIG)
    d.item("Rigenerazione di freni e frizioni, Giappone (media geometrica massima)", "0.86",
           "Intervallo 0.025-76.4 ff/cc, medie geometriche 0.38-0.86 ff/cc. Fonte: abstract pubblicato, Giappone",
           RIG)
    d.tasks(RIG, "la rigenerazione di freni e frizioni", 0.025, 76.4, [
        ("Distacco delle guarnizioni usurate", 1.2, [""]),
        ("Sabbiatura delle ganasce", 3.5, [""]),
    ])

    TES, tes_id = d.folder("Tessili in amianto", PRO)
    TUS, tus_id = d.folder("Impianti tessili USA", TES)
    TSC, tsc_id = d.folder("Filatura di crisotilo, Carolina del Sud", TUS)
    dement = "Fonte: Dement et al., Exposures and mortality among chrysotile asbestos workers. Part I"
    d.item("Filatura di crisotilo prima del controllo delle polveri (valore minimo)", "3",
           "Intervallo 3-78 ff/cc, per lo più sopra 10. " + dement, TSC)
    d.item("Filatura di crisotilo prima del controllo delle polveri (valore massimo)", "78",
           "Intervallo 3-78 ff/cc, per lo più sopra 10. " + dement, TSC)
    d.item("Filatura di crisotilo dopo il controllo delle polveri (valore minimo)", "3",
           "Intervallo 3-17 ff/cc, per lo più 5-10. " + dement, TSC)
    d.item("Filatura di crisotilo dopo il controllo delle polveri (valore massimo)", "17",
           "Intervallo 3-17 ff/cc, per lo più 5-10. " + dement, TSC)
    d.tasks(TSC, "la filatura del crisotilo prima e dopo il controllo delle polveri", 3, 78, [
        ("Apertura delle balle di fibra", 40, [""]),
        ("Cardatura", 22, ["M", "m"]),
        ("Filatura ad anello", 9, [""]),
        ("Ritorcitura", 7, [""]),
        ("Tessitura di nastri", 6, ["p", "a"]),
        ("Pulizia delle carde", 45, [""]),
    ])
    TNC, tnc_id = d.folder("Stabilimenti della Carolina del Nord, anni '30", TUS)
    d.item("Stabilimenti tessili, anni '30: lavorazioni oltre 200 ff/cc", "200",
           "Alcune lavorazioni oltre 200 ff/cc: registrato il limite inferiore. Fonte: Dement et al.", TNC)
    d.tasks(TNC, "le filature di amianto degli anni '30 e '40", 5, 600, [
        ("Battitura e apertura della fibra grezza a secco", 335, ["M", "m"]),
        ("Cardatura senza aspirazione", 150, [""]),
        ("Filatura e binatura", 60, [""]),
        ("Tessitura", 35, [""]),
        ("Pulizia dei locali a scopa", 240, [""]),
    ])
    FIT, fit_id = d.folder("Filature italiane", TES)
    CAF, caf_id = d.folder("Cardatura e filatura", FIT)
    ph_tex = "la lavorazione tessile dell'amianto"
    d.tasks(CAF, ph_tex, 1, 80, [
        ("Apertura e miscelazione della fibra", 28, ["M", "m"]),
        ("Cardatura del crisotilo", 18, ["p", "a"]),
        ("Filatura con anima di cotone", 9, [""]),
        ("Binatura e ritorcitura", 6, [""]),
        ("Rocchettatura", 4, [""]),
    ])
    TEC, tec_id = d.folder("Tessitura e confezione", FIT)
    d.tasks(TEC, ph_tex, 1, 80, [
        ("Tessitura di teli di amianto", 7, ["M", "m"]),
        ("Taglio dei teli per coperte antifiamma", 5, [""]),
        ("Cucitura di guanti e grembiuli", 3, [""]),
        ("Confezione di cordoni e trecce", 8, [""]),
        ("Impregnazione dei tessuti con gomma", 2, [""]),
    ])
    CFE, cfe_id = d.folder("Carte e feltri di amianto", PRO)
    d.tasks(CFE, "la produzione di carte e feltri di amianto", 0.5, 30, [
        ("Spappolatore della fibra", 7, [""]),
        ("Macchina continua per carta di amianto", 3, [""]),
        ("Feltri bitumati per coperture", 1.5, [""]),
        ("Taglio e avvolgimento delle bobine", 4, [""]),
        ("Produzione di carte per guarnizioni", 2.5, [""]),
    ])
    GUA, gua_id = d.folder("Guarnizioni e cartoni", PRO)
    d.tasks(GUA, "la produzione di guarnizioni e cartoni di amianto", 0.5, 20, [
        ("Calandratura di fogli di amianto e gomma", 4, ["M", "m"]),
        ("Tranciatura di guarnizioni piane", 2.2, [""]),
        ("Produzione di cartoni di amianto in continuo", 6, ["p", "a"]),
        ("Preparazione dell'impasto di fibra e lattice", 9, [""]),
        ("Confezione di baderne per pompe", 3, [""]),
    ])
    PAV, pav_id = d.folder("Pavimenti vinilici e mastici", PRO)
    d.tasks(PAV, "la produzione di piastrelle vinil-amianto e mastici", 0.05, 5, scale=0.4, tasks=[
        ("Dosaggio della fibra nella mescolatrice", 2.4, ["M", "m"]),
        ("Calandratura delle piastrelle", 0.35, [""]),
        ("Preparazione di mastici bituminosi", 0.8, [""]),
        ("Fustellatura delle piastrelle", 0.2, [""]),
    ])
    VER, ver_id = d.folder("Vernici, stucchi e sigillanti", PRO)
    d.tasks(VER, "la produzione di vernici e stucchi con carica di amianto", 0.05, 5, [
        ("Aggiunta della carica fibrosa nelle dispersioni", 1.8, ["M", "m"]),
        ("Insacco degli stucchi in polvere", 1.3, [""]),
        ("Confezionamento dei sigillanti in pasta", 0.15, [""]),
    ])

    # Movimentazione
    MOV, mov_id = d.folder("Movimentazione", CICLO)
    POR, por_id = d.folder("Porti e scarico di navi", MOV)
    d.tasks(POR, "lo scarico di sacchi di fibra nei porti", 0.5, 40, [
        ("Scaricatori di porto, sacchi in juta, anni '60", 18, ["M", "m"]),
        ("Scaricatori di porto, sacchi in plastica, anni '70", 2, [""]),
        ("Gruisti durante lo scarico", 1.5, [""]),
        ("Pulizia delle stive", 12, [""]),
        ("Riparazione dei sacchi rotti", 9, [""]),
    ])
    TRS, trs_id = d.folder("Trasporto ferroviario e stradale della fibra", MOV)
    d.tasks(TRS, "il trasporto di fibra di amianto in sacchi", 0.1, 20, [
        ("Carico di carri ferroviari", 3, [""]),
        ("Scarico di autocarri con carrello elevatore", 1.4, [""]),
        ("Autisti durante il carico", 0.4, [""]),
        ("Pulizia dei cassoni", 6, [""]),
    ])
    MAG, mag_id = d.folder("Magazzini e depositi", MOV)
    d.tasks(MAG, "il magazzinaggio di fibra e manufatti con amianto", 0.05, 10, scale=0.4, tasks=[
        ("Deposito di sacchi di fibra", 1.2, ["M", "m"]),
        ("Magazzino di materiali d'attrito", 0.25, [""]),
        ("Deposito di teli e cordoni di amianto", 0.6, [""]),
        ("Ricevimento delle merci", 0.15, [""]),
    ])
    RSA, rsa_id = d.folder("Ricondizionamento di sacchi usati", MOV)
    d.tasks(RSA, "il ricondizionamento di sacchi che avevano contenuto fibra", 1, 60, [
        ("Scuotitura a mano dei sacchi di juta", 40, [""]),
        ("Battitura meccanica dei sacchi", 25, [""]),
        ("Rammendo dei sacchi", 6, [""]),
        ("Imballaggio dei sacchi ricondizionati", 4, [""]),
    ])
    SMA, sma_id = d.folder("Smaltimento di rifiuti di cemento amianto", MOV)
    d.tasks(SMA, "lo smaltimento in discarica di rifiuti con amianto", 0.001, 0.1, [
        ("Scarico dei pacchi di lastre in discarica", 0.03, ["p", "a"]),
        ("Copertura giornaliera dei rifiuti", 0.012, [""]),
        ("Perimetro della discarica", 0.003, [""]),
        ("Deposito preliminare dei rifiuti", 0.02, [""]),
    ])
    d.item("Discarica controllata, aria a valle del vento", "0",
           ZERO, SMA)

    # Varie
    VAR, var_id = d.folder("Varie", CICLO)
    AMB, amb_id = d.folder("Ambienti di vita", VAR)
    EDF, edf_id = d.folder("Edifici", AMB)
    lee = d.item("Ambienti interni di edifici, fibre lunghe almeno 5 micron (TEM)", "0.00013",
                 "Fibre di lunghezza pari o superiore a 5 micron, microscopia elettronica in trasmissione. "
                 "Fonte: Lee, Van Orden, Corn, Crump, Regul Toxicol Pharmacol 1992;16:93", EDF)
    d.tasks(EDF, "l'aria interna di edifici con materiali contenenti amianto", 0.0001, 0.005, ambient=True, tasks=[
        ("Uffici con controsoffitti in amianto integri", 0.0004, [""]),
        ("Scuole con pavimenti in vinil-amianto", 0.0003, [""]),
        ("Abitazioni con coperture in fibrocemento", 0.0002, [""]),
        ("Garage con coibentazioni danneggiate", 0.002, [""]),
    ])
    zeros_edf = []
    for name in ["Uffici senza materiali con amianto", "Aule scolastiche dopo la bonifica"]:
        zeros_edf.append(d.item(name, "0", ZERO, EDF))
    AES, aes_id = d.folder("Aria esterna", AMB)
    d.tasks(AES, "l'aria esterna urbana e rurale", 0.0001, 0.005, ambient=True, tasks=[
        ("Centro urbano con traffico intenso", 0.0008, [""]),
        ("Zona industriale con stabilimento di fibrocemento", 0.003, [""]),
        ("Area residenziale periferica", 0.0003, [""]),
    ])
    for name in ["Zona rurale lontana da fonti di amianto", "Zona montana di fondo"]:
        d.item(name, "0", ZERO, AES)
    LAB, lab_id = d.folder("Laboratori di analisi", VAR)
    d.tasks(LAB, "la preparazione di campioni con amianto in laboratorio", 0.01, 1, scale=0.2, tasks=[
        ("Preparazione di campioni massivi sotto cappa", 0.05, [""]),
        ("Macinazione di campioni di roccia", 0.4, ["M", "m"]),
        ("Montaggio dei filtri per microscopia", 0.02, [""]),
        ("Pulizia delle cappe di aspirazione", 0.12, [""]),
    ])
    VVF, vvf_id = d.folder("Vigili del fuoco", VAR)
    d.tasks(VVF, "l'intervento dei vigili del fuoco su edifici con amianto", 0.01, 5, scale=0.25, tasks=[
        ("Spegnimento di incendi in capannoni con coperture in fibrocemento", 0.2, ["M", "m"]),
        ("Bonifica dopo l'incendio, rimozione dei frammenti", 0.6, [""]),
        ("Uso di coperte antifiamma in amianto", 1.5, [""]),
        ("Manutenzione delle tute e dei guanti in amianto", 0.8, [""]),
    ])
    ODO, odo_id = d.folder("Odontotecnici e orafi", VAR)
    d.tasks(ODO, "l'uso di nastri e crogioli di amianto in laboratorio", 0.05, 5, scale=0.4, tasks=[
        ("Odontotecnico, rivestimento dei cilindri di fusione", 1.2, ["M", "m"]),
        ("Orafo, saldatura su blocchetti di amianto", 0.35, [""]),
        ("Orafo, fusione in crogiolo rivestito", 0.6, [""]),
    ])
    ALI, ali_id = d.folder("Industria alimentare e delle bevande", VAR)
    d.tasks(ALI, "l'uso di filtri di amianto nell'industria delle bevande", 0.05, 5, scale=0.3, tasks=[
        ("Preparazione dei filtri per vino e birra", 1.5, [""]),
        ("Sostituzione dei pannelli filtranti", 0.6, ["p", "a"]),
        ("Smaltimento dei pannelli esausti", 0.35, [""]),
    ])
    ELD, eld_id = d.folder("Riparazione di elettrodomestici", VAR)
    d.tasks(ELD, "la riparazione di apparecchi con componenti in amianto", 0.01, 1, scale=0.2, tasks=[
        ("Riparazione di asciugacapelli con schermi termici", 0.15, [""]),
        ("Riparazione di ferri da stiro e tostapane", 0.08, [""]),
        ("Riparazione di stufe elettriche", 0.3, [""]),
        ("Sostituzione di guarnizioni di forni", 0.12, [""]),
    ])
    ARS, ars_id = d.folder("Arsenali e forze armate", VAR)
    d.tasks(ARS, "la manutenzione di mezzi militari con componenti in amianto", 0.05, 10, [
        ("Manutenzione dei freni di mezzi cingolati", 0.6, ["M", "m"]),
        ("Scoibentazione di unità navali in arsenale", 8, [""]),
        ("Sostituzione di guarnizioni di motori aeronautici", 0.4, [""]),
        ("Officina riparazione artiglierie", 0.25, [""]),
    ])
    SPE, spe_id = d.folder("Teatri e locali di spettacolo", VAR)
    d.tasks(SPE, "l'uso di sipari e materiali antifiamma con amianto", 0.01, 2, scale=0.2, tasks=[
        ("Movimentazione di sipari tagliafuoco in amianto", 0.3, [""]),
        ("Proiezionista in cabina con pannelli isolanti", 0.04, [""]),
        ("Manutenzione di palcoscenici", 0.15, [""]),
    ])

    d.expand = False
    ciclo_end = d.next_id
    print("ciclo region ends before id", ciclo_end, "next folder id", d.next_fid)

    # ---------------------------------------------------------------- Dati per nazione
    NAZ, naz_id = d.folder("Dati per nazione", R)
    ITA, ita_id = d.folder("Italia", NAZ)
    CAD, cad_id = d.folder("Canada", NAZ)
    GER, ger_id = d.folder("Germania", NAZ)
    USA, usa_id = d.folder("USA", NAZ)
    GBR, gbr_id = d.folder("Gran Bretagna", NAZ)
    OPI, opi_id = d.folder("Opifici", R)
    for child in [min_id, nav_id, vet_id, tus_id, cte_id, fca_id, att_id, fer_id, raf_id]:
        d.link(OPI, child)

    # Italia
    d.expand = True
    d.triples_left = 11
    B2, b2_id = d.folder("Bonifica", ITA)
    d.link(B2, 13)
    d.link(B2, 14)
    scar = "Fonte: archivio ISPESL delle bonifiche notificate, Scarselli et al."
    sc1 = d.item("Cantieri di bonifica notificati in Italia: media di 3862 misure", "0.019", scar, B2)
    sc2 = d.item("Cantieri di bonifica notificati in Italia: rimozione di coibentazioni (media)", "0.021", scar, B2)
    d.tasks(B2, "la bonifica di edifici in Italia", 0.001, 5, [
        ("Rimozione di pavimenti in vinil-amianto in uffici pubblici", 0.03, [""]),
        ("Rimozione di intonaci in amianto in edifici storici", 0.8, [""]),
    ])
    SCU, scu_id = d.folder("Edifici scolastici", B2)
    d.tasks(SCU, "la bonifica di edifici scolastici", 0.001, 5, [
        ("Rimozione di controsoffitti in una scuola elementare", 0.9, ["M", "m"]),
        ("Rimozione di pavimenti vinilici in una palestra", 0.04, [""]),
        ("Aule adiacenti durante i lavori", 0.003, [""]),
        ("Restituibilità delle aule", 0.0015, [""]),
    ])
    OSP, osp_id = d.folder("Edifici ospedalieri", B2)
    d.tasks(OSP, "la bonifica di edifici ospedalieri", 0.001, 5, [
        ("Rimozione di coibentazioni nelle centrali termiche ospedaliere", 2.5, ["M", "m"]),
        ("Rimozione di guarnizioni di sterilizzatrici", 0.4, [""]),
    ])
    PAD, pad_id = d.folder("Ospedale provinciale", OSP)
    pad_items = d.tasks(PAD, "la bonifica di edifici ospedalieri", 0.001, 5, [
        ("Zona confinata del padiglione B, rimozione del controsoffitto", 1.6, ["p", "a"]),
        ("Unità di decontaminazione del padiglione B", 0.03, [""]),
    ])
    DIS, dis_id = d.folder("Siti industriali dismessi", B2)
    d.tasks(DIS, "la bonifica di stabilimenti dismessi", 0.001, 10, [
        ("Rimozione di coperture di capannoni dismessi", 0.12, ["M", "m"]),
        ("Bonifica di un ex stabilimento di fibrocemento, terreni", 0.05, [""]),
        ("Demolizione di forni con refrattari contenenti amianto", 1.8, [""]),
    ])
    ARC, arc_id = d.folder("Archivio di esposizioni nelle attività italiane", ITA)
    d.tasks(ARC, "le attività lavorative italiane con esposizione ad amianto", 0.01, 20, [
        ("Ferrovieri, officine grandi riparazioni, anni '70", 3, [""]),
        ("Portuali, sbarco di fibra grezza, anni '60", 12, [""]),
        ("Edili, posa di tubi per fognature", 0.6, [""]),
        ("Zuccherifici, manutenzione delle caldaie", 1.5, [""]),
    ])

    # Canada
    QTM, qtm_id = d.folder("Città minerarie del Quebec", CAD)
    thet = d.item("Aria esterna a Thetford Mines (TEM)", "0.0043",
                  "Microscopia elettronica in trasmissione. Fonte: INSPQ (Quebec)", QTM)
    d.tasks(QTM, "l'aria esterna di centri abitati vicini a miniere", 0.0005, 0.05, ambient=True, tasks=[
        ("Centro abitato vicino ai cumuli di sterile", 0.01, [""]),
        ("Scuola a ridosso della miniera", 0.006, [""]),
        ("Strada principale con transito di mezzi di miniera", 0.015, [""]),
    ])
    ONT, ont_id = d.folder("Stabilimenti di trasformazione canadesi", CAD)
    d.tasks(ONT, "la trasformazione della fibra in Canada", 0.1, 30, [
        ("Produzione di carta di amianto", 4, [""]),
        ("Produzione di pannelli isolanti", 6, [""]),
        ("Confezione di filati per l'esportazione", 9, [""]),
    ])

    # Germania
    GLA, gla_id = d.folder("Produzione di lastre in fibrocemento", GER)
    d.tasks(GLA, "la produzione di lastre in fibrocemento negli anni '80", 0.01, 2, scale=0.3, tasks=[
        ("Linea lastre, anni '80", 0.6, [""]),
        ("Reparto impasto, anni '80", 1.4, [""]),
        ("Taglio a umido delle lastre", 0.4, [""]),
    ])
    GNA, gna_id = d.folder("Cantieri navali del Mare del Nord", GER)
    d.tasks(GNA, "la coibentazione nei cantieri navali", 2, 40, [
        ("Coibentatori, costruzioni navali", 12, [""]),
        ("Tubisti, costruzioni navali", 5, [""]),
    ])
    # Gran Bretagna
    GPA, gpa_id = d.folder("Fabbriche di pannelli isolanti", GBR)
    assert GPA == 112, GPA
    d.tasks(GPA, "la produzione di pannelli isolanti in amosite", 0.5, 30, [
        ("Formatura dei pannelli", 5, [""]),
    ])
    ph_gpa = IND.format(phrase="la produzione di pannelli isolanti in amosite", lo="0.5", hi="30")
    d.item("Rifilatura dei pannelli", "8", ph_gpa, GPA)
    d.item("Rifilatura dei Pannelli", "11", ph_gpa, GPA)
    d.tasks(GPA, "la produzione di pannelli isolanti in amosite", 0.5, 30, [
        ("Essiccazione dei pannelli", 2, [""]),
    ])
    GCN, gcn_id = d.folder("Cantieri navali britannici", GBR)
    d.tasks(GCN, "la coibentazione nei cantieri navali", 2, 40, [
        ("Coibentatori, navi militari, anni '60", 20, [""]),
        ("Saldatori a bordo, anni '60", 6, [""]),
    ])

    GRI, gri_id = d.folder("Manutenzione di impianti di riscaldamento", GER)
    d.tasks(GRI, "la manutenzione di impianti di riscaldamento", 0.01, 5, scale=0.3, tasks=[
        ("Sostituzione di stufe ad accumulo con pannelli in amianto", 0.5, [""]),
        ("Pulizia di caldaie con guarnizioni in amianto", 0.2, [""]),
        ("Smontaggio di canali d'aria calda", 0.3, [""]),
    ])

    # USA
    UED, ued_id = d.folder("Edifici pubblici e scuole", USA)
    d.tasks(UED, "l'aria interna di edifici pubblici", 0.0001, 0.01, ambient=True, tasks=[
        ("Edifici pubblici con coibentazioni a spruzzo integre", 0.0005, [""]),
        ("Scuole durante la manutenzione ordinaria", 0.002, [""]),
    ])
    UCA, uca_id = d.folder("Cantieri edili e manutenzione", USA)
    d.tasks(UCA, "le lavorazioni edili su materiali con amianto", 0.01, 10, [
        ("Carteggiatura di stucchi per pareti", 2.5, [""]),
        ("Rimozione di pavimenti in vinil-amianto con raschietto", 0.08, [""]),
    ])

    d.expand = False
    # Folder 117: sampling points around a hospital removal site.
    MON, mon_id = d.folder("Monitoraggio ambientale del cantiere", PAD)
    print("folder 117 is node", mon_id, "folder id", MON)
    for child in pad_items[:2]:
        d.link(MON, child)
    d.link(MON, 950)
    ph_mon = "il monitoraggio attorno ai cantieri di bonifica ospedalieri"
    points = [
        ("Esterno infermeria", 0.0021), ("Corridoio di collegamento tra il padiglione B e il blocco operatorio, a porte aperte durante la bonifica",
         0.0034),
        ("Ingresso principale", 0.0012), ("Sala d'attesa del pronto soccorso", 0.0018),
        ("Reparto di medicina, corsia", 0.0009), ("Reparto di chirurgia, corsia", 0.0011),
        ("Scale di servizio del padiglione B", 0.0062), ("Cortile interno", 0.0015),
        ("Cucina centrale", 0.0008), ("Lavanderia", 0.0027), ("Centrale termica", 0.0095),
        ("Farmacia", 0.0007), ("Ambulatori del primo piano", 0.0013), ("Camera mortuaria", 0.0006),
        ("Portineria", 0.001), ("Parcheggio vicino al cantiere", 0.0022),
        ("Perimetro del cantiere, lato nord", 0.0088), ("Perimetro del cantiere, lato sud", 0.0071),
        ("Uscita dell'unità di decontaminazione", 0.014), ("Deposito dei rifiuti insacchettati", 0.011),
        ("Estrattore d'aria della zona confinata", 0.0058), ("Cappella", 0.0005),
        ("Uffici amministrativi", 0.0009), ("Sala operatoria, blocco A", 0.0004),
    ]
    for name, value in points:
        d.item(name, value, "Campionamento ambientale. " + IND.format(phrase=ph_mon, lo="0.0005", hi="0.05"), MON)
    for name in ["Laboratorio analisi", "Reparto di pediatria, corsia", "Biblioteca del personale"]:
        d.item(name, "0", ZERO, MON)

    # Shared nodes.
    links = [
        (ITA, min_id), (ITA, nav_id), (ITA, fca_id), (ITA, cte_id), (USA, tus_id),
        (BON, rco_id), (B2, rco_id), (BON, dem_id), (BON, sma_id),
        (CAD, que_id), (ITA, bal_id), (USA, spr_id), (USA, fre_id), (USA, usa_ac_id),
        (BON, sco_id), (ITA, fit_id), (MOV, ser_id), (BON, dna_id), (ITA, por_id),
        (COI, cal_id), (USA, edf_id), (CAD, aes_id), (GER, cel_id), (ITA, aut_id),
        (GER, vpi_id), (B2, lab_id), (NAV, gcn_id), (NAV, gna_id), (FCA, gla_id), (GBR, cot_id),
        # items
        (BON, car_id), (BON, sc1), (BON, sc2), (ARC, sc1), (ARC, sc2), (USA, lee), (B2, lee), (AES, thet),
        (USA, brake_lo), (USA, brake_hi), (EDI, spray_far), (SCO, valves), (ITA, turbine),
    ]
    by_name = [
        (B2, "Restituibilità degli ambienti dopo la bonifica"),
        (B2, "Uscita dell'unità di decontaminazione del personale"),
        (B2, "Locali adiacenti al cantiere durante la rimozione (valore massimo)"),
        (B2, "Locali adiacenti al cantiere durante la rimozione (valore minimo)"),
        (B2, "Decoibentazione di tubazioni con tecnica glove-bag"),
        (B2, "Insacchettamento dei rifiuti nella zona confinata"),
        (B2, "Pulizia finale della zona confinata con aspiratore a filtro assoluto"),
        (UED, "Uffici con controsoffitti in amianto integri (valore massimo)"),
        (SCU, "Scuole con pavimenti in vinil-amianto (valore massimo)"),
        (AES, "Centro abitato vicino ai cumuli di sterile (valore massimo)"),
        (AES, "Scuola a ridosso della miniera (valore massimo)"),
        (ALL, "Coibentatori, fine anni '60 - inizio anni '70 (valore minimo della media)"),
        (ALL, "Coibentatori, fine anni '60 - inizio anni '70 (valore massimo della media)"),
        (RIP, "Scoibentazione di unità navali in arsenale: campionamento personale"),
        (RIP, "Scoibentazione di unità navali in arsenale: campionamento ambientale"),
        (FRE, "Sostituzione di ceppi freno in ghisa e amianto: campionamento personale"),
        (FRE, "Sostituzione di ceppi freno in ghisa e amianto: campionamento ambientale"),
        (RET, "Rettifica dei dischi frizione prima del montaggio: campionamento personale"),
        (ARC, "Reparto frantumazione, anni '80: campionamento personale"),
        (ARC, "Arricchimento e separazione della fibra: campionamento personale"),
        (ARC, "Cardatura del crisotilo: campionamento personale"),
        (ARC, "Raschiatura a secco della crocidolite spruzzata nelle carrozze (valore massimo)"),
        (ARC, "Scaricatori di porto, sacchi in juta, anni '60 (valore massimo)"),
        (VEI, "Tornitura ad arco delle guarnizioni dei freni (media)"),
        (CAL, "Rimozione di coibente da tubazioni di vapore (valore massimo)"),
        (CAL, "Rimozione di coibente da tubazioni di vapore (valore minimo)"),
    ]
    links += [(parent, d.find(name)) for parent, name in by_name]
    for parent, child in links:
        d.link(parent, child)
    # The longest texts of the data set.
    cinema = d.nodes[[r[0] for r in d.nodes].index(d.find(
        "Rimozione di intonaco friabile con amianto dai soffitti di una sala cinematografica, "
        "con acqua nebulizzata e un tensioattivo"))]
    cinema[5] = ("Valore indicativo dimostrativo, non è una misura pubblicata; intervallo di letteratura per la "
                 "bonifica in zona confinata: 0.1-30 ff/cc. Il valore è riportato così come stimato per un "
                 "intervento con bagnatura continua del materiale e due estrattori d'aria.")
    corridor = d.nodes[[r[0] for r in d.nodes].index(d.find(
        "Corridoio di collegamento tra il padiglione B e il blocco operatorio, a porte aperte durante la bonifica"))]
    corridor[5] += " Media di 2 campioni."
    assert len(cinema[4]) == 124 and len(cinema[5]) == 255, (len(cinema[4]), len(cinema[5]))
    for name in ["Cappella", "Sala operatoria, blocco A", "Alloggi dell'equipaggio (valore minimo)",
                 "Area residenziale periferica (valore minimo)"]:
        row = d.nodes[[r[0] for r in d.nodes].index(d.find(name))]
        row[3], row[5] = "0", ZERO
    return d


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    d = compose()
    order = sorted(range(len(d.links)), key=lambda i: (d.links[i][0], i))
    with open(out + "/nodes.tsv", "w", encoding="utf-8", newline="\n") as f:
        f.write("id\tkind\tfolderId\tconcentration\tname\tbibliography\n")
        f.write("0\tFolder\t0\t0\t0\t\n")
        for row in d.nodes:
            f.write("\t".join(str(x) for x in row) + "\n")
    with open(out + "/links.tsv", "w", encoding="utf-8", newline="\n") as f:
        f.write("parentFolderId\tchildId\n")
        for i in order:
            f.write("%d\t%d\n" % d.links[i])
    print("nodes", len(d.nodes) + 1, "links", len(d.links))


if __name__ == "__main__":
    main()
