"""One row's part of the summary (see rules/summary.smk): a line per
sequence pair with its chain and synteny figures, or one line saying that
the row failed or found no alignment (its pair columns empty)."""

import sys
from decimal import Decimal

import synteny_columns
from tsv import read_table, write_table

COLUMNS = ["name", "status", "reference", "query", "reference_length", "query_length", "alignments",
           "chain_members", "score_sum", "pass", *synteny_columns.COLUMNS, "report", "svg", "html", "picked",
           "blocks", "chain", "log", "message"]

ALIGNMENT_FEATURES = ("alignment", "hsp:hsp")


def chain_pass(member_lines):
    """'reverse' when the chain runs backwards in the second sequence, else
    'forward'. A report file holds the winning report alone; the mirrored
    pass wins only with a chain of two or more members whose second-sequence
    begins fall as the first-sequence begins rise (a single alignment is a
    forward chain at least as good)."""
    starts = []
    for line in member_lines:
        fields = line.split()
        x_begin, y_begin = fields[3].split(":")
        x_end = fields[4].split(":")[0]
        starts.append((int(x_begin), int(x_end), int(y_begin)))
    starts.sort()
    return "reverse" if len(starts) >= 2 and starts[-1][2] < starts[0][2] else "forward"


def exact_sum(member_lines):
    """The members' scores added as the tools wrote them (decimal, so
    nothing is rounded; the report's own sum has six digits)."""
    total = sum((Decimal(line.split("\t")[5]) for line in member_lines), Decimal(0))
    return format(total, "f")


def read_report(path):
    """The chain's member count, exact score sum and pass."""
    members = None
    member_lines = []
    with open(path) as handle:
        for line in handle:
            if line.startswith("##Number of used alignments:"):
                members = line.split(":", 1)[1].strip()
            elif not line.startswith("#"):
                fields = line.split("\t")
                if len(fields) >= 6 and fields[2] in ALIGNMENT_FEATURES:
                    member_lines.append(line)
    if members is None or int(members) != len(member_lines):
        raise ValueError(f"{path}: not a chain report (member count {members}, {len(member_lines)} member lines)")
    return members, exact_sum(member_lines), chain_pass(member_lines)


def pair_lines(name, pairs, inputs, log):
    """A line per pair, with the row's synteny figures for that pair and the
    row's blocks table and chain file."""
    figures = synteny_columns.read_pairs(inputs.synteny)
    chain = synteny_columns.chain_file(inputs.blocks, inputs.synteny_log)
    picked = inputs.get("picked")
    for index, pair in enumerate(pairs):
        members, score_sum, which = read_report(inputs.reports[index])
        line = {
            "name": name, "status": "ok", "reference": pair["reference"], "query": pair["query"],
            "reference_length": pair["reference_length"], "query_length": pair["query_length"],
            "alignments": pair["alignments"], "chain_members": members, "score_sum": score_sum,
            "pass": which, "report": inputs.reports[index], "svg": inputs.svgs[index],
            "html": inputs.htmls[index], "picked": picked[index] if picked else "",
            "blocks": inputs.blocks, "chain": chain, "log": log, "message": "",
        }
        line.update(synteny_columns.pair_columns(figures, pair))
        yield line


def row_line(name, status, message, log):
    """The line of a row without sequence pairs: failed, or empty."""
    line = dict.fromkeys(COLUMNS, "")
    line.update(name=name, status=status, log=log, message=" ".join(message.split()))
    return line


def summarize_row(name, inputs, log, output):
    with open(inputs.status) as handle:
        state, message = handle.readline().strip(), handle.read().strip()
    if state == "ok":
        pairs = read_table(inputs.index)[1]
        lines = list(pair_lines(name, pairs, inputs, log))
    else:
        lines = [row_line(name, state, message, log)]
    write_table(output, COLUMNS, lines)


if __name__ == "__main__":
    # A failure's traceback goes to the rule's log.
    sys.stderr = open(snakemake.log[0], "w")
    summarize_row(snakemake.wildcards.row, snakemake.input, snakemake.params.log, snakemake.output[0])
