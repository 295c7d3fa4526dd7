// The texts of the executable's string table (UTF-8), for the fake OS port.
#pragma once

#include <map>
#include <string>

namespace tivoler::test {

const std::map<int, std::string>& StringTable();

}  // namespace tivoler::test
