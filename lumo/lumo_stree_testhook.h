// Test-only failure injection for the tree component; not installed.
#ifndef LUMO_STREE_TESTHOOK_H
#define LUMO_STREE_TESTHOOK_H

// 0: allocations behave normally. n > 0: the n-th allocation from now fails
// (and the countdown is then 0 again).
extern long stree_testhook_fail_countdown;

#endif
