// The environment of this process with some variables set, as the block CreateProcessW takes
// with CREATE_UNICODE_ENVIRONMENT: for a child that must see variables the test process does
// not carry itself (the simulated keyboards, the control channel, the state file).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using EnvironmentVariables = std::vector<std::pair<std::wstring, std::wstring>>;

// Each variable replaces one of the same name (compared without case); an empty value removes it.
std::vector<wchar_t> EnvironmentWith(const EnvironmentVariables& variables);

}  // namespace testsupport
