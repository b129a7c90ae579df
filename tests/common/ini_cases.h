// Cases of the INI profile rules, shared by the native tests of the portable
// reader/writer and the Wine tests of the platform's profile functions: both
// must give these answers. Standard C++ only, no test framework.
//
// Read cases hold their file with "\n" line ends; runners try each of them
// with CR LF, LF-only and CR-only line ends. Write cases are exact bytes.
#pragma once

struct IniReadCase {
    const char* name;
    const char* file;          // nullptr: the file does not exist
    const char* section;
    const char* key;           // nullptr: the key list of the section
    const char* defaultValue;
    unsigned size;             // buffer size handed to the reader
    unsigned expectedCount;    // the reader's return value
    const char* expected;      // the first expectedCount + 1 bytes of the buffer
};

struct IniIntCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    int defaultValue;
    int expected;
};

struct IniWriteCase {
    const char* name;
    const char* before;        // nullptr: the file does not exist
    const char* section;
    const char* key;           // nullptr: the section is deleted
    const char* value;         // nullptr: the key is deleted
    const char* after;
};

namespace inicases {

// A script-like file with the awkward spots of hand-edited INI files.
inline const char* const general =
    "orfano=prima di ogni sezione\n"
    "[GENERAL]\n"
    "Prodotto=Quorvel\n"
    "NomeGruppo=\\Quorvel\n"
    "  Spazi  =   valore con spazi   \n"
    "Tab\t=\tcon tab\t\n"
    "Vuoto=\n"
    "Doppi=\"tra virgolette\"\n"
    "Singoli='tra apici'\n"
    "Misti=\"a'\n"
    "Interni=a \"b\" c\n"
    "SoloUno=\"\n"
    "DueSoli=\"\"\n"
    "Dentro=\" spazi dentro \"\n"
    "Uguali=a=b=c\n"
    "Nome Gruppo=con spazio\n"
    ";Commento=1\n"
    "Doppio=primo\n"
    "doppio=secondo\n"
    "\n"
    "[Guida di Quorvel]\n"
    "Exe=Quorvel.chm\n"
    "[Bibliografia]\n"
    "Exe=hh.exe\n"
    "Args=-mapid 115860\n"
    ";NoPath=1\n"
    "[Città]\n"
    "Perché=sì\n"
    "[Ripetuta]\n"
    "a=1\n"
    "[ripetuta]\n"
    "a=2\n"
    "b=3\n"
    "[ Spaziata ]\n"
    "a=1\n"
    "[Coda] testo\n"
    "a=2\n"
    "[Rotta\n"
    "b=3\n"
    "senza uguale\n"
    "[Fine]\n"
    "Ultima=senza a capo\x1a";

inline const char* const lists =
    "[Buchi]\n"
    "0=Quorvel.exe\n"
    "2=leggimi.txt\n"
    "[Lettere]\n"
    "b=uno\n"
    "A=due\n"
    "zeta=tre\n"
    "[Disordine]\n"
    "10=a\n"
    "3=b\n"
    "7=c\n"
    "[Commenti]\n"
    ";0=nascosto\n"
    "1=visibile\n"
    "; altro commento\n"
    "  2  =  spazi  \n"
    "[Doppie]\n"
    "x=1\n"
    "X=2\n"
    "[Nude]\n"
    "a=1\n"
    "solo nome\n"
    "[Rotta\n"
    "b=2\n"
    "[Vuota]\n"
    "[Dopo]\n"
    "k=v\n";

}  // namespace inicases

inline const IniReadCase iniReadCases[] = {
    {"exact names", inicases::general, "GENERAL", "Prodotto", "", 256, 7, "Quorvel"},
    {"names ignore case", inicases::general, "general", "PRODOTTO", "", 256, 7, "Quorvel"},
    {"backslash kept", inicases::general, "GENERAL", "NomeGruppo", "", 256, 8, "\\Quorvel"},
    {"blanks around name and value", inicases::general, "GENERAL", "Spazi", "", 256, 16,
     "valore con spazi"},
    {"blanks around requested name", inicases::general, " GENERAL ", "  Spazi ", "", 256, 16,
     "valore con spazi"},
    {"tabs trimmed", inicases::general, "GENERAL", "Tab", "", 256, 7, "con tab"},
    {"empty value is not the default", inicases::general, "GENERAL", "Vuoto", "d", 256, 0, ""},
    {"missing key gives default", inicases::general, "GENERAL", "Assente", "d", 256, 1, "d"},
    {"missing section gives default", inicases::general, "ASSENTE", "Prodotto", "d", 256, 1, "d"},
    {"missing file gives default", nullptr, "GENERAL", "Prodotto", "d", 256, 1, "d"},
    {"default cut at buffer", nullptr, "GENERAL", "Prodotto", "predefinito", 4, 3, "pre"},
    {"default loses trailing blanks", inicases::general, "GENERAL", "Assente", "abc  ", 256, 3,
     "abc"},
    {"double quotes removed", inicases::general, "GENERAL", "Doppi", "", 256, 14,
     "tra virgolette"},
    {"single quotes removed", inicases::general, "GENERAL", "Singoli", "", 256, 9, "tra apici"},
    {"unmatched quotes kept", inicases::general, "GENERAL", "Misti", "", 256, 3, "\"a'"},
    {"inner quotes kept", inicases::general, "GENERAL", "Interni", "", 256, 7, "a \"b\" c"},
    {"lone quote kept", inicases::general, "GENERAL", "SoloUno", "", 256, 1, "\""},
    {"empty quotes", inicases::general, "GENERAL", "DueSoli", "", 256, 0, ""},
    {"blanks inside quotes kept", inicases::general, "GENERAL", "Dentro", "", 256, 14,
     " spazi dentro "},
    {"value after first equals", inicases::general, "GENERAL", "Uguali", "", 256, 5, "a=b=c"},
    {"blank inside a name", inicases::general, "GENERAL", "nome gruppo", "", 256, 10,
     "con spazio"},
    {"comment is no key", inicases::general, "GENERAL", "Commento", "d", 256, 1, "d"},
    {"duplicate key: first wins", inicases::general, "GENERAL", "DOPPIO", "", 256, 5, "primo"},
    {"key before any section", inicases::general, "GENERAL", "orfano", "d", 256, 1, "d"},
    {"section name with blanks", inicases::general, "guida di quorvel", "Exe", "", 256, 11,
     "Quorvel.chm"},
    // Accented capitals do not match under Wine; the portable reader folds
    // them (its own test), so only the exact spelling is shared here.
    {"accented names", inicases::general, "Città", "Perché", "", 256, 2, "sì"},
    {"duplicate section: first wins", inicases::general, "RIPETUTA", "a", "", 256, 1, "1"},
    {"commented key in shortcut section", inicases::general, "Bibliografia", "NoPath", "d", 256,
     1, "d"},
    {"last line without line end", inicases::general, "Fine", "Ultima", "", 256, 12,
     "senza a capo"},
    {"blanks inside brackets", inicases::general, "spaziata", "a", "", 256, 1, "1"},
    {"text after the bracket", inicases::general, "Coda", "a", "", 256, 1, "2"},
    {"no closing bracket is no section", inicases::general, "Coda", "b", "", 256, 1, "3"},
    {"broken header not a section", inicases::general, "Rotta", "b", "d", 256, 1, "d"},
    {"line without equals", inicases::general, "Coda", "senza uguale", "d", 256, 1, "d"},
    {"keys before any section: empty name", inicases::general, "", "orfano", "", 256, 21,
     "prima di ogni sezione"},
    {"default loses its quotes", nullptr, "S", "k", "\"q\"", 256, 1, "q"},
    {"default keeps leading blanks", nullptr, "S", "k", "  q", 256, 3, "  q"},
    {"cut at buffer size", inicases::general, "GENERAL", "Prodotto", "", 4, 3, "Quo"},
    {"buffer one short", inicases::general, "GENERAL", "Prodotto", "", 7, 6, "Quorve"},
    {"buffer just fits", inicases::general, "GENERAL", "Prodotto", "", 8, 7, "Quorvel"},
    {"buffer of one", inicases::general, "GENERAL", "Prodotto", "", 1, 0, ""},
    {"quoted value cut", inicases::general, "GENERAL", "Doppi", "", 5, 4, "tra "},
    {"quoted value just fits", inicases::general, "GENERAL", "Doppi", "", 16, 14,
     "tra virgolette"},

    {"list with a gap", inicases::lists, "Buchi", nullptr, "", 256, 4, "0\0" "2\0"},
    {"list of letters in file order", inicases::lists, "lettere", nullptr, "", 256, 9,
     "b\0" "A\0" "zeta\0"},
    {"list out of numeric order", inicases::lists, "Disordine", nullptr, "", 256, 7,
     "10\0" "3\0" "7\0"},
    {"list skips comments, trims names", inicases::lists, "Commenti", nullptr, "", 256, 4,
     "1\0" "2\0"},
    {"list keeps duplicate names", inicases::lists, "Doppie", nullptr, "", 256, 4,
     "x\0" "X\0"},
    {"empty section", inicases::lists, "Vuota", nullptr, "", 256, 0, ""},
    {"missing section list", inicases::lists, "Assente", nullptr, "", 256, 0, ""},
    {"missing file list", nullptr, "Buchi", nullptr, "", 256, 0, ""},
    {"shortcut section list", inicases::general, "BIBLIOGRAFIA", nullptr, "", 256, 9,
     "Exe\0" "Args\0"},
    {"list skips bare names and broken headers", inicases::lists, "Nude", nullptr, "", 256, 4,
     "a\0" "b\0"},
    {"list cut inside a name", inicases::lists, "Lettere", nullptr, "", 7, 5, "b\0" "A\0" "z"},
    {"list that just fits is reported cut", inicases::lists, "Lettere", nullptr, "", 10, 8,
     "b\0" "A\0" "zeta\0"},
    {"list with room to spare", inicases::lists, "Lettere", nullptr, "", 11, 9,
     "b\0" "A\0" "zeta\0"},
    {"list buffer of three", inicases::lists, "Lettere", nullptr, "", 3, 1, "b"},
    {"list buffer of two", inicases::lists, "Lettere", nullptr, "", 2, 0, ""},
    {"list buffer of one", inicases::lists, "Lettere", nullptr, "", 1, 0, ""},
};

inline const IniIntCase iniIntCases[] = {
    {"decimal", "[S]\nk=42\n", "S", "k", 7, 42},
    {"digits then text", "[S]\nk=12abc\n", "S", "k", 7, 12},
    {"decimal point stops", "[S]\nk=1.5\n", "S", "k", 7, 1},
    {"leading zeros", "[S]\nk=007\n", "S", "k", 7, 7},
    {"blanks trimmed", "[S]\nk =  15 \n", "S", "k", 7, 15},
    {"minus", "[S]\nk=-5\n", "S", "k", 7, -5},
    {"plus", "[S]\nk=+5\n", "S", "k", 7, 5},
    {"quoted", "[S]\nk=\"42\"\n", "S", "k", 7, 42},
    {"text reads zero", "[S]\nk=abc\n", "S", "k", 7, 0},
    {"empty gives default", "[S]\nk=\n", "S", "k", 7, 7},
    {"missing gives default", "[S]\nk=1\n", "S", "x", 7, 7},
    {"missing file gives default", nullptr, "S", "k", 7, 7},
    {"comment gives default", "[S]\n;k=1\n", "S", "k", 7, 7},
    {"case ignored", "[GENERAL]\nNoPath=1\n", "general", "NOPATH", 0, 1},
    {"blank after sign", "[S]\nk=- 5\n", "S", "k", 7, 0},
    {"blank inside quotes", "[S]\nk=\" 5\"\n", "S", "k", 7, 5},
    {"empty quotes give default", "[S]\nk=\"\"\n", "S", "k", 7, 7},
    {"hexadecimal prefix", "[S]\nk=0x10\n", "S", "k", 7, 16},
    {"capital X is no prefix", "[S]\nk=0X10\n", "S", "k", 7, 0},
    {"octal prefix", "[S]\nk=0o17\n", "S", "k", 7, 15},
    {"binary prefix", "[S]\nk=0b101\n", "S", "k", 7, 5},
    {"wraps past 31 bits", "[S]\nk=2147483648\n", "S", "k", 7, -2147483647 - 1},
    {"wraps past 32 bits", "[S]\nk=4294967297\n", "S", "k", 7, 1},
    {"only 29 characters read", "[S]\nk=000000000000000000000000000000000012\n", "S", "k", 7, 0},
};

inline const IniWriteCase iniWriteCases[] = {
    {"replace in place", "[A]\r\nx=1\r\ny=2\r\n[B]\r\ny=3\r\n", "A", "y", "9",
     "[A]\r\nx=1\r\ny=9\r\n[B]\r\ny=3\r\n"},
    {"replace keeps file's spelling", "[Sez]\r\nChiave=1\r\n", "SEZ", "chiave", "22",
     "[Sez]\r\nChiave=22\r\n"},
    {"replace longer value", "[A]\r\nx=1\r\nz=0\r\n", "A", "x", "valore lungo",
     "[A]\r\nx=valore lungo\r\nz=0\r\n"},
    {"replace with empty", "[A]\r\nx=1\r\nz=0\r\n", "A", "x", "", "[A]\r\nx=\r\nz=0\r\n"},
    {"first duplicate replaced", "[A]\r\nx=1\r\nx=2\r\n", "A", "X", "3", "[A]\r\nx=3\r\nx=2\r\n"},
    {"key added at end of its section", "[A]\r\nx=1\r\n[B]\r\nx=3\r\n", "A", "z", "5",
     "[A]\r\nx=1\r\nz=5\r\n[B]\r\nx=3\r\n"},
    {"key added to last section", "[A]\r\nx=1\r\n[B]\r\nx=3\r\n", "B", "z", "5",
     "[A]\r\nx=1\r\n[B]\r\nx=3\r\nz=5\r\n"},
    {"section added at end", "[A]\r\nx=1\r\n", "EXPO_0", "VOCE", "Mescolatrice",
     "[A]\r\nx=1\r\n[EXPO_0]\r\nVOCE=Mescolatrice\r\n"},
    {"missing file created", nullptr, "QUORVEL", "MULTI", "1", "[QUORVEL]\r\nMULTI=1\r\n"},
    {"comments kept", "[A]\r\n;x=0\r\nx=1\r\n", "A", "x", "2", "[A]\r\n;x=0\r\nx=2\r\n"},
    {"value written as given", "[A]\r\nx=1\r\n", "A", "x", "\"a\" b", "[A]\r\nx=\"a\" b\r\n"},
    {"missing final line end", "[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
    {"same value leaves file alone", "[A]\r\nx=1\r\n[B]\r\n", "A", "x", "1",
     "[A]\r\nx=1\r\n[B]\r\n"},
    {"leading blanks of a value dropped", "[A]\r\nx=1\r\n", "A", "y", "  v  ",
     "[A]\r\nx=1\r\ny=v  \r\n"},
    {"bare name takes the value", "[A]\r\nx=1\r\nsolo\r\n", "A", "SOLO", "2",
     "[A]\r\nx=1\r\nsolo=2\r\n"},
    {"keys before any section stay", "o=1\r\n[A]\r\nx=1\r\n", "A", "y", "2",
     "o=1\r\n[A]\r\nx=1\r\ny=2\r\n"},
    {"empty file", "", "A", "y", "2", "[A]\r\ny=2\r\n"},
    {"first of duplicate sections", "[A]\r\nx=1\r\n[a]\r\nq=1\r\n", "A", "q", "2",
     "[A]\r\nx=1\r\nq=2\r\n[a]\r\nq=1\r\n"},
    {"deleting a missing key", "[A]\r\nx=1\r\n", "A", "q", nullptr, "[A]\r\nx=1\r\n"},
    {"key deleted", "[A]\r\nx=1\r\ny=2\r\n", "A", "x", nullptr, "[A]\r\ny=2\r\n"},
    {"section deleted", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "a", nullptr, nullptr,
     "[B]\r\ny=2\r\n"},
};
