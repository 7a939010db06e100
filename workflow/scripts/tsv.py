"""Tab-separated tables with a header line, as the programs write them
(pairs.tsv) and as the summary is written: no quoting, since no value holds
a tab or a line break (sequence names end at white space, and messages are
written on one line)."""


def read_table(path):
    """The header's columns and the rows, each a dict by column."""
    with open(path) as handle:
        lines = [line.rstrip("\r") for line in handle.read().split("\n") if line]
    columns = lines[0].split("\t") if lines else []
    return columns, [dict(zip(columns, line.split("\t"))) for line in lines[1:]]


def write_table(path, columns, rows):
    with open(path, "w") as handle:
        for values in [columns] + [[row[column] for column in columns] for row in rows]:
            handle.write("\t".join(values) + "\n")
