// The suite's general library: emptiness tests, conversions of user text, formats, SQL literals,
// exact decimal rounding and small text services, reached through goLibGen().
// It knows no window and no database: it never shows, opens or stores anything.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace tolvane {

class LibGenerale {
  public:
    // True for Empty, Null and a text that holds only blanks.
    bool EVuoto(const Variant& pvValore) const;
    // The form the pages call with further options (the invoicing page passes 8, 1 and False):
    // they change nothing in the answer.
    bool EVuoto(const Variant& pvValore, int piTipo, int piOpzione = 0,
                bool pbOpzione = false) const;

    // Conversions of user text (Italian forms). An empty text (or Empty, Null) gives 0 when
    // pbVuotoZero; a text that is not a number gives 0 when pbErratoZero, else raises 13.
    // A number out of the type's range always raises 6: nothing is cut to fit.
    std::int16_t ValoreIntero(const Variant& pvValore, bool pbVuotoZero = true,
                              bool pbErratoZero = true) const;
    std::int32_t ValoreLong(const Variant& pvValore, bool pbErratoZero = true) const;
    float ValoreSingle(const Variant& pvValore, bool pbErratoZero = true) const;
    double ValoreDouble(const Variant& pvValore, bool pbErratoZero = true) const;
    Currency ValutaTesto(const Variant& pvValore, bool pbErratoZero = true) const;
    // The date a value stands for; Null for an empty text. A text that is no date raises 13
    // when pbErrore, else gives Null.
    Variant ValoreData(const Variant& pvValore, bool pbErrore = false) const;

    // Type code (2 Integer .. 8 String, 11 Boolean) of a layout's type name: "vbv", "vb" or
    // "db" followed by a type name, compared without regard to case; 0 for an unknown name.
    int CodiceTipo(std::string_view psNomeTipo) const;

    // SQL literal of a value for a column of type code piTipo; a negative or unknown code takes
    // the value's own type. Text in single quotes with quotes doubled, numbers with ".",
    // dates as #mm/dd/yyyy# (with " hh:nn:ss" when they hold a time), Booleans -1/0,
    // Null (and Empty or blank text for a non-text type) as Null. Bad text raises 13.
    std::string ValoreSql(const Variant& pvValore, int piTipo = -1) const;

    // Rounds half away from zero to piDecimali decimals (negative: tens, hundreds...),
    // by decimal reasoning on the value as it is written, so 2,675 gives 2,68.
    double Arrotonda(double pdValore, int piDecimali = 0) const;
    // Rounds to a multiple of pdPasso * 10^piEsponente; psModo "A" nearest (half away from
    // zero), "E" away from zero, "D" towards zero. Other modes or a step <= 0 raise 5.
    double Arrotonda(double pdValore, std::string_view psModo, double pdPasso,
                     int piEsponente) const;
    // As above on a value: Empty, Null and blank text come back unchanged, Currency stays
    // Currency (exact), text is read as a number (bad text raises 13), the rest gives a Double.
    Variant Arrotonda(const Variant& pvValore, std::string_view psModo, double pdPasso,
                      int piEsponente) const;

    // The text to show: "Conto" gives group-mastro-account; a format with d, m, y, h, n or s
    // is a date format; otherwise a number format of "#", "0", "," and "." ("#,##0.00"),
    // written with Italian separators. Empty and Null give ""; a text that does not fit the
    // format comes back unchanged.
    std::string FormattaPerTipo(const Variant& pvValore, std::string_view psFormato) const;
    // A number format only ("#", "0", "#,##0.00"), as FormattaPerTipo.
    std::string FormatoNumero(const Variant& pvValore, std::string_view psMaschera) const;
    // The editing form of an account (no dashes) for kind "Conto"; a text whose parts would
    // read back differently without dashes, or another kind, comes back unchanged.
    std::string ConvertiConto(std::string_view psConto, std::string_view psTipo = "Conto") const;

    // Every occurrence of psPezzo replaced, without regard to case; the scan goes on after
    // each replacement, so a replacement holding the piece does not loop.
    std::string SostituisciSegnaposti(std::string_view psTesto, std::string_view psPezzo,
                                      std::string_view psSostituto) const;
    // The same from character piInizio on (1-based; the text before it is kept);
    // piConfronto 0 compares case, 1 ignores it.
    std::string SostituisciSegnaposti(int piInizio, std::string_view psTesto,
                                      std::string_view psPezzo, std::string_view psSostituto,
                                      int piConfronto) const;

    // The value of keyword psChiave in a text of "/key=value" or "/key:value" items (a blank
    // may stand for "=" too); the value runs to the next blank followed by "/", trimmed.
    // "" when the keyword is absent. Keywords are compared without regard to case.
    std::string EstraiParametro(std::string_view psTesto, std::string_view psChiave) const;
    // The folder of a path, with its closing separator ("C:\a\b.txt" gives "C:\a\").
    std::string EstraiCartella(std::string_view psPercorso) const;

    // The number callers compare with their tables of database errors: errors raised by
    // components at the object-error base give their own number, the rest stay as they are.
    long NumeroErrore(long plNumero) const;
    long NumeroErrore(const std::exception& peErrore) const;

    // Largest and smallest of values (Null ones skipped; all Null gives Null).
    Variant Massimo(std::initializer_list<Variant> pvValori) const;
    Variant Minimo(std::initializer_list<Variant> pvValori) const;
    template <class... T>
    Variant Massimo(const T&... valori) const {
        return Massimo({Variant(valori)...});
    }
    template <class... T>
    Variant Minimo(const T&... valori) const {
        return Minimo({Variant(valori)...});
    }
    // The smallest value above 0; 0 when none is.
    long MinimoPositivo(std::initializer_list<long> plValori) const;
    template <class... T>
    long MinimoPositivo(const T&... valori) const {
        return MinimoPositivo({static_cast<long>(valori)...});
    }
};

// The program-wide general library, created on first use and kept.
LibGenerale& goLibGen();

// The one rule that splits an account text into group, mastro and account (used by the
// account formats here and by the common services' DividiConto). Without a dash: two
// characters of group, two of mastro, the rest; with a dash: the parts between the dashes.
void splitAccountText(std::string_view text, std::string& group, std::string& mastro,
                      std::string& account);

}  // namespace tolvane
