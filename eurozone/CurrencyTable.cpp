#include "eurozone/CurrencyTable.h"

#include "amounts/PastedAmount.h"

namespace eurozone {

const std::array<Currency, 12> EuroZoneCurrencies{{
    {"Drachme grecque", 340.75, "GRD Dr Δρχ drachme drachmes"},
    {"Escudo portugais", 200.482, "PTE Esc escudo escudos"},
    {"Florin néerlandais", 2.20371, "NLG ƒ fl Hfl florin florins"},
    {"Franc belge", 40.3399, "BEF FB BF franc francs"},
    {"Franc français", 6.55957, amounts::kFrancMarks},
    {"Franc luxembourg.", 40.3399, "LUF Flux franc francs"},
    {"Lire italienne", 1936.27, "ITL L ₤ lire lires"},
    {"Mark allemand", 1.95583, "DEM DM mark marks"},
    {"Mark finlandais", 5.94573, "FIM mk markka markkaa mark marks"},
    {"Peseta espagnole", 166.386, "ESP Pta Ptas ₧ peseta pesetas"},
    {"Punt irlandais", 0.787564, "IEP IR£ £ punt punts"},
    {"Shilling autrichien", 13.7603, "ATS öS S schilling schillings"},
}};

}  // namespace eurozone
