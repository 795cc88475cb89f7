// Runs test bodies in forked child processes that start together, for tests of several processes
// sharing one registry file. A child reports the number of its failures as its exit status.
#pragma once

#include <functional>
#include <vector>

namespace registry_test {

// Forks one child per body, lets them all start at the same moment, waits for them and returns
// their exit statuses (-1 for a child that died of a signal).
std::vector<int> RunChildren(const std::vector<std::function<int()>>& bodies);

}  // namespace registry_test
