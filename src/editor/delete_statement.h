#pragma once

#include <string>
#include <string_view>

namespace tarnvex {

// The statements that delete one allowance item from the database, parameter
// rows first, then the item: one text, two statements joined by ";". The code
// goes in as an SQL literal with its quotes doubled. The text is sent as it is,
// without dialect adaptation.
std::string DeleteStatement(std::string_view code);

}  // namespace tarnvex
