// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

namespace vtl {

// One worker a core the machine has, at least one.
unsigned workerCount();

// Does work(i, w) for every i below `count` on `workers` threads of its own (at least one), and
// hands each i to deliver(i) on the calling thread in order, 0 first, as soon as work(i) and every
// earlier one are done. w is the index of the thread doing the work, below `workers`: what a
// thread reuses from item to item belongs to its index, never to a thread_local, whose end at
// thread exit some platforms get wrong. work of different i run at once and must not share what
// they change; what work(i) wrote is seen by deliver(i). When deliver returns false nothing more is
// delivered: the workers finish the items they hold and take no new one. Returns how many were
// delivered. An exception thrown by work(i) comes out of the call where deliver(i) would have been
// called.
size_t runOrdered(size_t count, unsigned workers,
                  const std::function<void(size_t item, unsigned worker)>& work,
                  const std::function<bool(size_t)>& deliver);

} // namespace vtl
