"""The synteny columns of the summary worked out from alisyn's outputs of a
run by hand, for each pair of a split's pairs.tsv in its order: the bases
covered as the union of the kept alignments' intervals (the kept file,
converted by aliconv unless it is in the alignment file format), their
share of the pair's lengths, the identity from alisyn's per-pair table, and the inverted and translocated blocks counted
in the blocks table. With one pair, the covered bases and shares must be
those of alisyn's summary (SUMMARY, its standard error).
Usage: by_hand_synteny.py PAIRS.tsv PREFIX SUMMARY KEPT.gff..."""

import csv
import re
import sys


def table(path):
    with open(path, newline="") as handle:
        return list(csv.DictReader(handle, delimiter="\t", quoting=csv.QUOTE_NONE))


def union(intervals):
    total, end = 0, 0
    for begin, finish in sorted(intervals):
        if finish > end:
            total += finish - max(begin, end + 1) + 1
            end = finish
    return total


def covered(paths):
    """The reference and query bases that the alignment lines of PATHS cover,
    by (reference, query); a sequence:sequence line names the query of the
    lines after it."""
    intervals = {}
    for path in paths:
        with open(path) as handle:
            for line in handle:
                fields = line.split("\t")
                if line.startswith("#") or len(fields) < 8:
                    continue
                if fields[2] == "sequence:sequence":
                    query = re.search(r'seq2 "([^"]*)"', fields[7]).group(1)
                elif fields[2] == "alignment":
                    (xb, yb), (xe, ye) = (map(int, fields[3].split(":")), map(int, fields[4].split(":")))
                    references, queries = intervals.setdefault((fields[0], query), ([], []))
                    references.append((xb, xe))
                    queries.append((yb, ye))
    return {key: (union(references), union(queries)) for key, (references, queries) in intervals.items()}


def share(bases, length):
    return f"{100 * bases / int(length):.2f}"


def main(pairs_path, prefix, summary_path, *kept):
    bases = covered(kept)
    blocks = [line.rstrip("\n").split("\t") for line in open(f"{prefix}.blocks.tsv") if not line.startswith("#")]
    identities = {(row["#reference"], row["query"]): row["identity"] for row in table(f"{prefix}.pairs.tsv")}
    pairs = table(pairs_path)
    for pair in pairs:
        key = (pair["reference"], pair["query"])
        reference, query = bases.get(key, (0, 0))
        classes = [block[8] for block in blocks if (block[1], block[4]) == key]
        values = [reference, share(reference, pair["reference_length"]), query,
                  share(query, pair["query_length"]), identities.get(key, ""),
                  classes.count("inverted"), classes.count("translocated")]
        print("\t".join(map(str, values)))
    if len(pairs) == 1:
        with open(summary_path) as handle:
            stated = re.findall(r"bases covered: (\d+) \(([\d.]+)% of", handle.read())
        if stated != [(str(values[0]), values[1]), (str(values[2]), values[3])]:
            sys.exit(f"{summary_path}: alisyn's summary states {stated}, the pair {values[:4]}")


if __name__ == "__main__":
    main(*sys.argv[1:])
