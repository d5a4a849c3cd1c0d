#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// The full name of the user running the program, from the account database; empty when the
// account records none.
QString UserFullName();

// The home folder of the account the program runs as (its effective user), from the account
// database whatever HOME says; empty when there is none.
QString AccountHome();

// The full name held in an account's GECOS field: its first comma-separated field, cut at the
// first NUL; empty when that field is empty or blank.
std::string FullNameFromGecos(std::string_view gecos);

}  // namespace platform
