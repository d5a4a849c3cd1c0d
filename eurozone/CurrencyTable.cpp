#include "eurozone/CurrencyTable.h"

namespace eurozone {

const std::array<Currency, 12> EuroZoneCurrencies{{
    {"Drachme grecque", 340.75},
    {"Escudo portugais", 200.482},
    {"Florin néerlandais", 2.20371},
    {"Franc belge", 40.3399},
    {"Franc français", 6.55957},
    {"Franc luxembourg.", 40.3399},
    {"Lire italienne", 1936.27},
    {"Mark allemand", 1.95583},
    {"Mark finlandais", 5.94573},
    {"Peseta espagnole", 166.386},
    {"Punt irlandais", 0.787564},
    {"Shilling autrichien", 13.7603},
}};

}  // namespace eurozone
