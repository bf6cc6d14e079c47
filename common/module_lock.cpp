#include "common/module_lock.h"

#include <atomic>

namespace common::module_lock {
namespace {
std::atomic<long> count{0};
}

void Add() { ++count; }
void Remove() { --count; }
long Count() { return count.load(); }

}  // namespace common::module_lock
