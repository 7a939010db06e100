#!/usr/bin/env python3
"""Writes synthetic aligner output for the alisyn benchmark.

usage: alisyn_gen.py paf N PAIRS   N PAF lines over PAIRS sequence pairs
       alisyn_gen.py delta N       a nucmer delta file of N alignments

One pair: the alignments of aliconv's benchmark (a colinear backbone with
noise, a tenth on the minus strand). Several pairs: query contigs, each
aligned to one of ten reference chromosomes, with N / PAIRS alignments of
its own, written contig after contig as aligners write them.
Fixed seed: the same arguments give the same file.
"""
import sys

from aliconv_gen import alignments, delta, paf


def paf_pairs(n, pairs):
    per_pair = n // pairs
    contig = 100 * per_pair * 1000 // 1000 + 20_000
    chromosome = 50_000_000
    out = sys.stdout
    for k, (x, y, length, minus, errors) in enumerate(alignments(n, contig)):
        pair = min(k // per_pair, pairs - 1)
        x += (pair // 10) * 10 * contig % (chromosome - contig)
        out.write(f"ctg{pair}\t{contig}\t{y - 1}\t{y - 1 + length}\t{'-' if minus else '+'}\tchr{pair % 10}\t"
                  f"{chromosome}\t{x - 1}\t{x - 1 + length}\t{length - errors}\t{length}\t60\tNM:i:{errors}\t"
                  f"AS:i:{length - 4 * errors}\ttp:A:P\tcg:Z:{length}M\n")


if __name__ == "__main__":
    kind, n = sys.argv[1], int(sys.argv[2])
    if kind == "paf":
        pairs = int(sys.argv[3]) if len(sys.argv) > 3 else 1
        paf(n) if pairs == 1 else paf_pairs(n, pairs)
    else:
        delta(n)
