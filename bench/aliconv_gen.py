#!/usr/bin/env python3
"""Writes synthetic aligner output for the aliconv benchmark.

usage: aliconv_gen.py paf N    N PAF lines of one sequence pair
       aliconv_gen.py delta N  a nucmer delta file of N alignments

Alignments lie near the diagonal of a genome pair (a colinear backbone with
noise), a tenth of them on the minus strand, so that chaining has work to do.
Fixed seed: the same N gives the same file.
"""
import random
import sys


def alignments(n, genome):
    rng = random.Random(11)
    for _ in range(n):
        length = rng.randint(200, 5000)
        x = rng.randint(1, genome - length)
        y = min(max(1, x + rng.randint(-20000, 20000)), genome - length)
        minus = rng.random() < 0.1
        errors = rng.randint(0, length // 8)
        yield x, y, length, minus, errors


def paf(n):
    genome = 50_000_000
    out = sys.stdout
    for x, y, length, minus, errors in alignments(n, genome):
        out.write(f"qry\t{genome}\t{y - 1}\t{y - 1 + length}\t{'-' if minus else '+'}\tref\t{genome}\t"
                  f"{x - 1}\t{x - 1 + length}\t{length - errors}\t{length}\t60\tNM:i:{errors}\t"
                  f"AS:i:{length - 4 * errors}\ttp:A:P\tcg:Z:{length}M\n")


def delta(n):
    genome = 100 * n
    out = sys.stdout
    out.write("ref.fa qry.fa\nNUCMER\n")
    out.write(f">ref qry {genome} {genome}\n")
    for x, y, length, minus, errors in alignments(n, genome):
        s2, e2 = (y + length - 1, y) if minus else (y, y + length - 1)
        out.write(f"{x} {x + length - 1} {s2} {e2} {errors} {errors} 0\n0\n")


if __name__ == "__main__":
    {"paf": paf, "delta": delta}[sys.argv[1]](int(sys.argv[2]))
