// The value of one field for one line: the raw text at a fixed position, in a separated field
// or from an expression of field references, then decoding, limits, fill, type and checks.
// Never evaluates a field twice for one line: counters and next codes must not skip.
#include <algorithm>
#include <cmath>

#include "batchload/batch_library.h"
#include "batchload/sc_carica_stato.h"
#include "common/globali.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "platform/utf8_check.h"

namespace tolvane {

namespace {

constexpr std::string_view kSection = "\xC2\xA7";  // the section sign that marks references

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// IsNumeric of a text, with a quick road for plain digits.
bool numericText(std::string_view s) {
    if (allDigits(s)) return true;
    return isNumeric(Variant(std::string(s)));
}

long digitsValue(std::string_view digits) {
    long n = 0;
    for (char c : digits) {
        if (n > 100000000) break;
        n = n * 10 + (c - '0');
    }
    return n;
}

double operandNumber(const std::string& operand) { return Variant(operand).toDouble(); }

// "*", "/" and "%" of the layouts; nullopt for any other operator.
std::optional<double> applyOperator(std::string_view op, double value, double operand) {
    if (op == "*") return value * operand;
    if (op == "/") {
        if (operand == 0)
            throw NumberedError(errnum::DivisionByZero, "Divisione per zero", "ScCarica");
        return value / operand;
    }
    if (op == "%") return operand * value / 100;
    return std::nullopt;
}

bool onlyZeros(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c != '0') return false;
    return true;
}

// Trim (blanks only, not tabs) without an intermediate copy.
std::string trimBlanks(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const std::size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

std::string repeatText(const std::string& piece, long times) {
    std::string out;
    for (long i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace

void ScCarica::beginLine(const std::string& psRiga) {
    line_ = psRiga;
    lineStarted_ = true;
    lineSplit_ = false;
    lineAscii_ = isAscii(line_);
    charsIndexed_ = false;
    soloAsci_ = equalText(gsSoloAsci, "s");
    ++serial_;
    pendingCodes_.clear();
    if (states_.size() != mcolCampi_.size()) states_.resize(mcolCampi_.size());
}

void ScCarica::ensureLine(const std::string& psRiga) {
    if (&psRiga == &line_ && lineStarted_) return;
    if (!lineStarted_ || psRiga.size() != line_.size() || psRiga != line_) beginLine(psRiga);
}

void ScCarica::ensureSplit() {
    if (lineSplit_) return;
    split_.split(line_);
    lineSplit_ = true;
}

std::string ScCarica::midOfLine(long start, long length) {
    if (start < 1 || length < 0)
        throw NumberedError(errnum::InvalidCall, "Chiamata di routine o argomento non validi",
                            "Mid");
    const auto from = static_cast<std::size_t>(start - 1);
    if (lineAscii_) {
        if (from >= line_.size()) return {};
        return line_.substr(from, static_cast<std::size_t>(length));
    }
    if (!charsIndexed_) {
        // Where each character starts, so that fixed positions need no count from the line start.
        charsIndexed_ = true;
        charStarts_.clear();
        if (isValidUtf8(line_)) {
            for (std::size_t i = 0; i < line_.size(); ++i)
                if ((static_cast<unsigned char>(line_[i]) & 0xC0) != 0x80) charStarts_.push_back(i);
            charStarts_.push_back(line_.size());
        }
    }
    if (charStarts_.empty()) return Mid(line_, start, length);
    const std::size_t characters = charStarts_.size() - 1;
    if (from >= characters) return {};
    const std::size_t to = std::min(characters, from + static_cast<std::size_t>(length));
    return line_.substr(charStarts_[from], charStarts_[to] - charStarts_[from]);
}

int ScCarica::indexOf(const ScCaricaCampi& field) const {
    const auto it = indexByField_.find(&field);
    return it == indexByField_.end() ? -1 : it->second;
}

Variant ScCarica::impliedDecimals(const Variant& value, const ScCaricaCampi& field) const {
    if (field.oiNumDec == -9999 || !mbNumerico_) return value;
    return Variant(value.toDouble() / std::pow(10.0, field.oiNumDec));
}

std::string ScCarica::LeggiValCampoNum(const std::string& psRiga, long piCampo,
                                       const ScCaricaCampi& pgcampo) {
    ensureLine(psRiga);
    if (piCampo < 1) return {};
    ensureSplit();
    std::string_view raw = split_.field(piCampo);
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
        raw = raw.substr(1, raw.size() - 2);
    if (pgcampo.oiInizio == 0) return trimBlanks(raw);
    std::string value;
    if (pgcampo.oiInizio > 0 && pgcampo.oiLunghezza > 0)
        value = Mid(raw, pgcampo.oiInizio, pgcampo.oiLunghezza);
    else if (pgcampo.oiInizio > 0) value = Left(raw, pgcampo.oiInizio);
    else value = Right(raw, -pgcampo.oiInizio);
    return Trim(value);
}

Variant ScCarica::LeggiCampoNum(const std::string& psRiga, long piCampo,
                                const ScCaricaCampi& pgcampo) {
    std::string value = LeggiValCampoNum(psRiga, piCampo, pgcampo);
    if (pgcampo.osTipoOper.empty() || pgcampo.osValoreOper.empty() || !numericText(value))
        return Variant(std::move(value));
    std::string operand = pgcampo.osValoreOper;
    if (operand.compare(0, kSection.size(), kSection) == 0) {
        std::string_view rest = std::string_view(operand).substr(kSection.size());
        std::size_t n = 0;
        while (n < rest.size() && rest[n] >= '0' && rest[n] <= '9') ++n;
        operand = LeggiValCampoNum(psRiga, digitsValue(rest.substr(0, n)), pgcampo);
    }
    const auto result =
        applyOperator(pgcampo.osTipoOper, Variant(value).toDouble(), operandNumber(operand));
    return result ? Variant(*result) : Variant();
}

std::string ScCarica::LeggiValCampoStr(const std::string& psRiga, std::string_view psElabora,
                                       const ScCaricaCampi& pgcampo,
                                       std::string_view ps0oSpacetoNull) {
    std::string result;
    bool first = true;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = psElabora.find(kSection, pos);
        if (at == std::string_view::npos) break;
        result.append(psElabora.substr(pos, at - pos));
        std::size_t end = at + kSection.size();
        while (end < psElabora.size() && psElabora[end] >= '0' && psElabora[end] <= '9') ++end;
        const long n =
            digitsValue(psElabora.substr(at + kSection.size(), end - at - kSection.size()));
        const std::string value = Trim(LeggiCampoNum(psRiga, n, pgcampo).text());
        if (first) {
            first = false;
            const bool empty = isEmptyValue(Variant(value));
            if (ps0oSpacetoNull == "{" && empty) return {};
            if (ps0oSpacetoNull == "[" && (empty || onlyZeros(value))) return {};
        }
        result += value;
        pos = end;
    }
    result.append(psElabora.substr(pos));
    return result;
}

std::string ScCarica::evaluateExpression(const std::string& psRiga, const ScCaricaCampi& field) {
    const std::string_view text = field.osNumCampo;
    std::string accumulated;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = text.find_first_of("{[", pos);
        if (open == std::string_view::npos) {
            accumulated += LeggiValCampoStr(psRiga, text.substr(pos), field, "");
            return accumulated;
        }
        accumulated += LeggiValCampoStr(psRiga, text.substr(pos, open - pos), field, "");
        const char opener = text[open];
        const std::size_t close = text.find(opener == '{' ? '}' : ']', open + 1);
        if (close == std::string_view::npos) {
            accumulated += opener;
            pos = open + 1;
            continue;
        }
        accumulated += LeggiValCampoStr(psRiga, text.substr(open + 1, close - open - 1), field,
                                        std::string_view(&text[open], 1));
        pos = close + 1;
    }
}

Variant ScCarica::CercaPosCampo(const std::string& psRiga, const ScCaricaCampi& pgcampo,
                                bool pbNumCampo) {
    ensureLine(psRiga);
    if (fixed_) {
        Variant value(pgcampo.osNumCampo + midOfLine(pgcampo.oiInizio, pgcampo.oiLunghezza));
        value = impliedDecimals(value, pgcampo);
        if (pgcampo.osTipoOper.empty() || pgcampo.osValoreOper.empty() || !isNumeric(value))
            return value;
        std::string operand;
        const std::string& oper = pgcampo.osValoreOper;
        if (oper.compare(0, kSection.size(), kSection) == 0) {
            const std::string rest = oper.substr(kSection.size());
            const auto colon = rest.find(':');
            if (colon != std::string::npos) {
                const long start = Variant(rest.substr(0, colon)).toLong();
                const long length = Variant(rest.substr(colon + 1)).toLong();
                if (start > 0 && length > 0) operand = midOfLine(start, length);
            }
        } else {
            operand = oper;
        }
        if (operand.empty()) return value;
        const auto result =
            applyOperator(pgcampo.osTipoOper, value.toDouble(), operandNumber(operand));
        return result ? Variant(*result) : value;
    }
    if (pbNumCampo && numericText(pgcampo.osNumCampo))
        return LeggiCampoNum(psRiga, Variant(pgcampo.osNumCampo).toInteger(), pgcampo);
    return impliedDecimals(Variant(evaluateExpression(psRiga, pgcampo)), pgcampo);
}

std::string ScCarica::rawText(const ScCaricaCampi& field) {
    const bool noOperator = field.osTipoOper.empty() || field.osValoreOper.empty();
    if (fixed_) {
        if (noOperator && (field.oiNumDec == -9999 || !mbNumerico_)) {
            if (field.osNumCampo.empty()) return midOfLine(field.oiInizio, field.oiLunghezza);
            return field.osNumCampo + midOfLine(field.oiInizio, field.oiLunghezza);
        }
    } else if (noOperator && allDigits(field.osNumCampo)) {
        return LeggiValCampoNum(line_, digitsValue(field.osNumCampo), field);
    }
    return CercaPosCampo(line_, field, true).text();
}

int ScCarica::LeggiVal(const std::string& psRiga, ScCaricaCampi& pgCaricaCampi, Variant& pvValore,
                       int piCodTab) {
    ensureLine(psRiga);
    const int index = indexOf(pgCaricaCampi);
    if (index < 0) return evaluateUncached(pgCaricaCampi, pvValore, piCodTab);
    return evaluate(pgCaricaCampi, index, pvValore, piCodTab);
}

int ScCarica::evaluate(ScCaricaCampi& field, int index, Variant& value, int piCodTab) {
    const Variant* kept = nullptr;
    const int code = evaluateKept(field, index, kept, piCodTab);
    value = *kept;
    return code;
}

int ScCarica::evaluateKept(ScCaricaCampi& field, int index, const Variant*& value, int piCodTab) {
    if (states_.size() != mcolCampi_.size()) states_.resize(mcolCampi_.size());
    {
        FieldState& st = states_[static_cast<std::size_t>(index)];
        if (st.serial == serial_) {
            if (st.evaluating)
                throw NumberedError(errnum::InvalidCall,
                                    "Riferimento circolare al campo " + field.osKey(), "ScCarica");
            if (st.fault) throw *st.fault;
            value = &st.value;
            return st.result;
        }
        st.serial = serial_;
        st.evaluating = true;
        st.fault.reset();
    }
    // A nested field (price list, break column) must not change the decimals of this one.
    const bool numerico = mbNumerico_;
    const int numDec = miNumDec_;
    const int numDecAzie = miNumDecAzie_;
    Variant result;
    int code = 0;
    {
        const ScopeGuard restore([&] {
            states_[static_cast<std::size_t>(index)].evaluating = false;
            mbNumerico_ = numerico, miNumDec_ = numDec, miNumDecAzie_ = numDecAzie;
        });
        try {
            code = evaluateUncached(field, result, piCodTab);
        } catch (const NumberedError& e) {
            states_[static_cast<std::size_t>(index)].fault = e;
            throw;
        }
    }
    FieldState& st = states_[static_cast<std::size_t>(index)];
    st.result = code;
    st.value = std::move(result);
    value = &st.value;
    return code;
}

int ScCarica::evaluateUncached(ScCaricaCampi& field, Variant& pvValore, int piCodTab) {
    const auto name = [&field] { return field.osTabella + "." + field.osNomeCampo; };
    const int tipo = field.oiTipoDest();
    mbNumerico_ = tipo >= tipocampo::Intero && tipo <= tipocampo::Valuta;
    miNumDec_ = -9999;
    miNumDecAzie_ = giNumDecAzieGest;
    if (mbNumerico_ && (!field.osLireOValuta.empty() || field.oiNumDec != -9999)) {
        miNumDec_ = 0;
        const bool amount = equalText(field.osRiempie, "M");
        if (!field.osRiempie.empty() && numericText(field.osRiempie)) {
            miNumDec_ = Variant(field.osRiempie).toInteger();
        } else {
            if (!field.osLireOValuta.empty()) {
                if (equalText(field.osLireOValuta, "L"))
                    miNumDec_ = amount ? giNumDecLire : giNumDecLireGest;
                else if (equalText(field.osLireOValuta, "V"))
                    miNumDec_ = amount ? giNumDecEuro : giNumDecEuroGest;
            } else {
                miNumDec_ = amount ? giNumDecAzie : giNumDecAzieGest;
            }
            miNumDecAzie_ = amount ? giNumDecAzie : giNumDecAzieGest;
        }
    }
    const int numDec = miNumDec_;

    std::string text;
    try {
        if (field.osDefault.empty())
            text = field.hasDecodes() ? field.LeggiDecod(rawText(field)) : rawText(field);
        else text = LeggiDefault(field, line_, piCodTab).text();
    } catch (const LineRejected&) {
        return 1;
    } catch (const LookupFailed& failure) {
        ScriviErrore(line_, name() + ": " + failure.message);
        return 1;
    }
    if (soloAsci_)
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 32) c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (field.oiLimiteDim > 0 && Len(text) > static_cast<std::size_t>(field.oiLimiteDim))
        text.clear();
    else if (field.oiLimiteDim < 0 && Len(text) < static_cast<std::size_t>(-field.oiLimiteDim))
        text.clear();

    // Trailing blanks are gone: the text is blank only when it is empty.
    if (text.empty()) {
        if (equalText(field.osChiave, "S")) {
            ScriviErrore(line_, name() + ": Campo chiave non compilato");
            return 1;
        }
        if (equalText(field.osObbligatorio, "S")) {
            ScriviErrore(line_, name() + ": Campo obbligatorio non compilato");
            return 1;
        }
    }
    std::string_view trimmed(text);
    trimmed.remove_prefix(std::min(trimmed.size(), trimmed.find_first_not_of(' ')));
    const bool empty = trimmed.empty() || (!field.os0toNull.empty() &&
                                           equalText(field.os0toNull, "S") && onlyZeros(trimmed));
    try {
        if (empty) {
            pvValore = Variant(std::string());
        } else if (tipo >= tipocampo::Intero && tipo <= tipocampo::Data) {
            // Text that is no number fails these conversions: refused without raising.
            double number = 0;
            if (tipo >= tipocampo::Lungo && tipo <= tipocampo::Doppio) {
                if (!parseNumber(trimmed, number)) {
                    ScriviErrore(line_, name() + ": Tipo non valido (" + text + ")");
                    return 1;
                }
                // The number read is the one the text conversion would read again.
                const Variant read(number);
                if (tipo == tipocampo::Lungo) pvValore = Variant(read.toLong());
                else if (tipo == tipocampo::Singolo) pvValore = Variant(read.toSingle());
                else pvValore = read;
            } else {
                pvValore = field.ConvValTipo(trimmed);
            }
        } else {
            // The text is shown in a refusal only when an amount conversion follows.
            std::string value = field.osLireOValuta.empty() ? std::move(text) : text;
            const int width = field.oiQuanto != 0 ? field.oiQuanto : std::abs(field.oiDimensione());
            if (width != 0 && !field.osRiempie.empty() && !value.empty()) {
                const std::string fill = Left(field.osRiempie, 1);
                const long length = static_cast<long>(Len(value));
                if (width > 0 && length < width) value += repeatText(fill, width - length);
                else if (width < 0 && length < -width)
                    value = repeatText(fill, -width - length) + value;
            }
            const int size = field.oiDimensione();
            if (size != 0 && value.size() > static_cast<std::size_t>(std::abs(size)) &&
                Len(value) > static_cast<std::size_t>(std::abs(size)))
                value = size > 0 ? Left(value, size) : Right(value, -size);
            pvValore = Variant(std::move(value));
        }
        if (!empty) {
            if (!field.osLireOValuta.empty()) {
                const ScopeGuard restore(
                    [this, previous = amountInProgress_] { amountInProgress_ = previous; });
                amountInProgress_ = &field;
                pvValore = ConvImporto(pvValore, field.osLireOValuta, piCodTab, numDec);
            } else if (field.oiNumDec != -9999 && mbNumerico_)
                pvValore = roundToDecimals(pvValore, numDec);
        }
    } catch (const LineRejected&) {
        return 1;
    } catch (const LookupFailed& failure) {
        ScriviErrore(line_, name() + ": " + failure.message);
        return 1;
    } catch (const NumberedError&) {
        ScriviErrore(line_, name() + ": Tipo non valido (" + text + ")");
        return 1;
    }
    if (field.ValoreNonValido(pvValore)) {
        ScriviErrore(line_, name() + ": Campo con valore non valido (" + pvValore.text() + ")");
        return 1;
    }
    return 0;
}

}  // namespace tolvane
