"""A sequence pair's synteny columns of the summary, from the row's alisyn
run: its per-pair table (PREFIX.pairs.tsv) and, where alisyn could write
one, its chain file (PREFIX.chain; otherwise its log says why not)."""

import os

from tsv import read_table

COLUMNS = ["reference_covered", "reference_share", "query_covered", "query_share", "identity", "inverted",
           "translocated"]

# A pair the one-to-one filter left nothing: no bases covered, no blocks,
# and no identity to state.
NOTHING_KEPT = {"reference_bases": "0", "query_bases": "0", "identity": "", "inverted": "0", "translocated": "0"}


def read_pairs(path):
    """alisyn's per-pair table by (reference, query)."""
    return {(row["#reference"], row["query"]): row for row in read_table(path)[1]}


def share(covered, length):
    """COVERED bases in percent of LENGTH, with two decimals as alisyn's
    summary writes them; empty when the length is unknown."""
    if not length or int(length) == 0:
        return ""
    return f"{100 * int(covered) / int(length):.2f}"


def pair_columns(figures, pair):
    """The columns of a pair of split/pairs.tsv; the shares are of the
    lengths the summary shows."""
    found = figures.get((pair["reference"], pair["query"]), NOTHING_KEPT)
    return {
        "reference_covered": found["reference_bases"],
        "reference_share": share(found["reference_bases"], pair["reference_length"]),
        "query_covered": found["query_bases"],
        "query_share": share(found["query_bases"], pair["query_length"]),
        "identity": found["identity"],
        "inverted": found["inverted"],
        "translocated": found["translocated"],
    }


def chain_file(blocks_path, log_path):
    """The row's chain file, beside its blocks table; "" when alisyn wrote
    none, which its log then explains."""
    path = blocks_path[: -len(".blocks.tsv")] + ".chain"
    if os.path.exists(path):
        return path
    with open(log_path) as handle:
        if "no chain file:" not in handle.read():
            raise ValueError(f"{path} is missing, and {log_path} does not say why")
    return ""
