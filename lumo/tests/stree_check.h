// Invariant walker for generalized suffix trees, shared by the unit tests
// and fuzz targets.
#ifndef STREE_CHECK_H
#define STREE_CHECK_H

#include "lumo_stree.h"

#include <string>

// Walks the whole tree (iteratively, so any depth is fine) and checks that
// every non-empty suffix of every string in the tree's string table is
// placed exactly once, as a leaf or an internal leaf, at the node whose path
// label is that suffix; that every edge label is a range of a text and that
// the labels along each path spell the path label; that no two children of
// a node begin with the same character; that every internal node but the
// root branches or ends a suffix; and that every internal node but the root
// links to the node of its path label less its first character.
// Path labels are compared through polynomial hashes of the texts.
// Returns a description of the first fault found, or "" when all hold.
std::string stree_check(SUFFIX_TREE tree);

#endif
