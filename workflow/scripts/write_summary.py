"""results/summary.tsv, the rows' tables one after the other, and
results/index.html, the same as a page with links to each pair's files."""

import sys
import html
import os
import urllib.parse

from tsv import read_table, write_table

# Columns that hold a path: links on the page, under these labels, in the
# files cell of their line.
LINKED = {"report": "report", "svg": "SVG", "html": "HTML", "picked": "picked", "blocks": "blocks",
          "chain": "chain", "log": "log"}

STYLE = """
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; font-size: 0.85em; }
th, td { border: 1px solid #ccc; padding: 0.25em 0.45em; text-align: left; }
th { background: #eee; }
td.number { text-align: right; font-variant-numeric: tabular-nums; }
tr.failed td { background: #fde8e8; }
tr.empty td { background: #f4f4f4; }
td.message { font-family: monospace; }
td.files { min-width: 9em; }
img.thumb { width: 7em; height: 7em; object-fit: contain; background: #fff; }
"""

NUMBERS = {"reference_length", "query_length", "alignments", "chain_members", "score_sum", "reference_covered",
           "reference_share", "query_covered", "query_share", "identity", "inverted", "translocated"}


SYNTENY_NOTE = (
    "Synteny (alisyn on each row's alignments, one-to-one unless set otherwise): the reference and query "
    "bases that the pair's kept alignments cover, their share in percent of the sequence's length, their "
    "identity in percent where the aligner states it, and the pair's inverted and translocated blocks; "
    "blocks and chain link the row's blocks table and chain file.")


def read_tables(paths):
    """The rows of every row table, under the columns they share."""
    columns, rows = [], []
    for path in paths:
        columns, table = read_table(path)
        rows.extend(table)
    return columns, rows


def link(value, label, page_folder):
    target = html.escape(urllib.parse.quote(os.path.relpath(value, page_folder)))
    return f'<a href="{target}">{label}</a>'


def cell(column, value):
    kind = ' class="number"' if column in NUMBERS else ""
    return f"<td{kind}>{html.escape(value)}</td>"


def files_cell(row, page_folder):
    """The links to the files a line names, in one cell."""
    links = [link(row[column], label, page_folder) for column, label in LINKED.items() if row[column]]
    return f'<td class="files">{" ".join(links)}</td>'


def thumbnail(row, page_folder):
    """The pair's dot plot, small, linking to its interactive page."""
    picture = html.escape(urllib.parse.quote(os.path.relpath(row["svg"], page_folder)))
    title = html.escape(f"{row['reference']} and {row['query']}")
    image = f'<img class="thumb" src="{picture}" alt="dot plot of {title}">'
    return f"<td>{link(row['html'], image, page_folder)}</td>"


def row_cells(columns, row, page_folder):
    """A pair's values, its files and its thumbnail; a row without pairs
    (failed or empty) shows its message across the values it has none of
    (all but its name and status)."""
    if row["status"] == "ok":
        values = "".join(cell(column, row[column]) for column in columns)
        return values + files_cell(row, page_folder) + thumbnail(row, page_folder)
    kept = ("name", "status")
    span = len(columns) - len(kept)
    message = f'<td colspan="{span}" class="message">{html.escape(row["message"])}</td>'
    return "".join(cell(column, row[column]) for column in kept) + message + files_cell(row, page_folder)


def counted(number, thing):
    return f"{number} {thing}{'' if number == 1 else 's'}"


def page_heading(rows):
    """What the table shows: its sequence pairs and the sheet's rows."""
    pairs = sum(1 for row in rows if row["status"] == "ok")
    names = len({row["name"] for row in rows})
    return f"Chains of {counted(pairs, 'sequence pair')} from {counted(names, 'sheet row')}"


def row_counts(rows):
    """How many rows failed or gave no alignment."""
    failed = sum(1 for row in rows if row["status"] == "failed")
    empty = sum(1 for row in rows if row["status"] == "empty")
    return f"{counted(failed, 'row')} failed, {counted(empty, 'row')} without alignments."


def page(columns, rows, page_folder):
    # A message shows in its row's own line, the files in one cell.
    columns = [column for column in columns if column != "message" and column not in LINKED]
    head = "".join(f"<th>{html.escape(column.replace('_', ' '))}</th>" for column in columns) + \
        "<th>files</th><th>plot</th>"
    body = [f'<tr class="{html.escape(row["status"])}">{row_cells(columns, row, page_folder)}</tr>'
            for row in rows]
    heading = html.escape(page_heading(rows))
    return (
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        f"<title>{heading}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
        f"<h1>{heading}</h1>\n"
        f"<p>{html.escape(row_counts(rows))} Scores are the chains' score sums; "
        "the pass is forward, or reverse where the chain runs backwards in the query.</p>\n"
        f"<p>{html.escape(SYNTENY_NOTE)}</p>\n"
        f"<table>\n<tr>{head}</tr>\n" + "\n".join(body) + "\n</table>\n</body>\n</html>\n"
    )


def write_summary(tables, table_path, page_path):
    columns, rows = read_tables(tables)
    write_table(table_path, columns, rows)
    with open(page_path, "w") as handle:
        handle.write(page(columns, rows, os.path.dirname(page_path)))


if __name__ == "__main__":
    # A failure's traceback goes to the rule's log.
    sys.stderr = open(snakemake.log[0], "w")
    write_summary(snakemake.input, snakemake.output.table, snakemake.output.page)
