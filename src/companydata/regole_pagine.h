// Rules that several pages of frmDatiAzie apply alike: dates read from a field, the current
// year and period fields, a refused save with its message.
// Never moves the focus to a control that the user cannot see.
#pragma once

#include <optional>
#include <string>

#include "platform/variant.h"

namespace tolvane {

class frmDatiAzie;

// The date a text stands for, without its time; nullopt when it stands for none.
std::optional<DateTime> DataDelTesto(const std::string& psTesto);
int AnnoDellaData(DateTime ptData);
int GiornoDellaData(DateTime ptData);
// The day before the same date one year later (one year after 29 February is the last day of
// February); nullopt past the last year a date can have.
std::optional<DateTime> FineAnnoDa(DateTime ptInizio);
// Whether the year of the start date in txt(piInizio) is the number in txt(piAnno).
bool StessoAnno(const frmDatiAzie& f, int piAnno, int piInizio);

// Leaving a current-year field: formats it "0000" and, when the start date is empty, sets it to
// 1 January of that year and the end date one year later less one day.
void UscitaAnnoCorrente(frmDatiAzie& f, int piAnno, int piInizio, int piFine);
// Leaving a date field: the common date check.
void UscitaDataCampo(frmDatiAzie& f, int piCampo);

// Shows the refusal with "&Ok", gives the focus to the control that shows the field, answers
// false.
bool RifiutaSalvataggio(frmDatiAzie& f, int piCampo, const std::string& psMessaggio);

}  // namespace tolvane
