# The sample sheet, where our programs are found, and where every file of a
# row lands. Rows are named in the sheet; a row's sequence pairs are known
# only after its split step has run (a checkpoint), from its pairs.tsv.

import os
import re
import shutil
import sys

from snakemake.exceptions import WorkflowError
from snakemake.utils import validate

sys.path.insert(0, os.path.join(workflow.basedir, "scripts"))
from tsv import read_table

validate(config, os.path.join(workflow.basedir, "schemas", "config.schema.yaml"))

# A row name becomes a folder name: keep it plain.
ROW_NAME_CHARACTERS = set("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.-")
SHEET_COLUMNS = ["name", "reference", "query", "alignments"]


def sheet_error(sheet, line, what):
    return WorkflowError(f"{sheet}:{line}: {what}")


def read_sheet(sheet):
    """The rows of the sample sheet in their order, as dicts of its columns;
    each has either reference and query FASTA files or an alignment file."""
    try:
        with open(sheet) as handle:
            lines = [line.rstrip("\r\n").split("\t") for line in handle]
    except OSError as error:
        raise WorkflowError(f"cannot read the sample sheet {sheet}: {error.strerror}")
    if not lines or lines[0] != SHEET_COLUMNS:
        raise sheet_error(sheet, 1, "the header must be the columns " + ", ".join(SHEET_COLUMNS))
    rows = {}
    for number, fields in enumerate(lines[1:], start=2):
        if not "".join(fields).strip() or fields[0].startswith("#"):
            continue
        if len(fields) != len(SHEET_COLUMNS):
            raise sheet_error(sheet, number, f"{len(fields)} columns, the header names {len(SHEET_COLUMNS)}")
        row = dict(zip(SHEET_COLUMNS, (field.strip() for field in fields)))
        name = row["name"]
        if not name or not set(name) <= ROW_NAME_CHARACTERS or name[0] == ".":
            raise sheet_error(sheet, number, f"the name '{name}' must be letters, digits, '_', '.' or '-' (not first)")
        if name in rows:
            raise sheet_error(sheet, number, f"the name '{name}' is used twice")
        has_fasta = bool(row["reference"]) and bool(row["query"])
        if has_fasta == bool(row["alignments"]) or (not has_fasta and (row["reference"] or row["query"])):
            raise sheet_error(sheet, number, "give either a reference and a query FASTA file or an alignment file")
        rows[name] = row
    if not rows:
        raise sheet_error(sheet, len(lines), "the sheet names no pairs")
    return rows


ROWS = read_sheet(config["sheet"])


def bin_folder():
    folder = config["bin_dir"]
    return folder and os.path.join(os.path.dirname(workflow.basedir), folder)


def tool(name):
    """The program NAME: from the build folder (bin_dir/NAME/NAME, or
    bin_dir/NAME as in an installed bin folder), else from the PATH."""
    folder = bin_folder()
    candidates = [os.path.join(folder, name, name), os.path.join(folder, name)] if folder else []
    for candidate in candidates:
        if os.path.isfile(candidate) and os.access(candidate, os.X_OK):
            return os.path.abspath(candidate)
    found = shutil.which(name)
    if found:
        return found
    where = " or ".join(candidates + ["the PATH"])
    raise WorkflowError(f"cannot find the program {name} in {where}: build it (make) or set bin_dir")


def row_dir(row):
    return f"results/{row}"


def split_dir(row):
    return f"{row_dir(row)}/split"


def split_status(row):
    return f"{row_dir(row)}/split.status"


def aligned_input(row):
    """The alignment file whose records the chains are picked from: the
    sheet's, or the aligner's output for a FASTA row; None with mumfind."""
    if ROWS[row]["alignments"]:
        return ROWS[row]["alignments"]
    if config["aligner"] != "mumfind":
        return f"{split_dir(row)}/aligned.{config['aligner_suffix']}"
    return None


def picked_suffix(row):
    name = os.path.basename(aligned_input(row))
    if name.endswith(".gz"):
        name = name[: -len(".gz")]
    suffix = os.path.splitext(name)[1]
    return suffix[1:] if suffix else "txt"


def row_succeeded(row):
    """Whether the row's split step succeeded (after it has run)."""
    checkpoints.split.get(row=row)
    with open(split_status(row)) as handle:
        return handle.readline().strip() == "ok"


def row_pairs(row):
    """The row's sequence pairs, as split/pairs.tsv lists them (dicts of its
    columns); none when the split step failed."""
    if not row_succeeded(row):
        return []
    return read_table(f"{split_dir(row)}/pairs.tsv")[1]


def pair_stem(pair):
    return pair["file"][: -len(".gff")]


def row_files(row):
    """The files the sheet names for ROW."""
    if ROWS[row]["alignments"]:
        return [ROWS[row]["alignments"]]
    return [ROWS[row]["reference"], ROWS[row]["query"]]


def split_inputs(wildcards):
    return [path for path in row_files(wildcards.row) if os.path.exists(path)]


def missing_inputs(wildcards):
    return [path for path in row_files(wildcards.row) if not os.path.exists(path)]


def derived_folders(wildcards):
    """The folders of a row's files made from its split (results and logs)."""
    return [f"{top}/{wildcards.row}/{kind}" for top in ("results", "logs") for kind in ("chains", "plots", "picked")]


def split_steps(wildcards):
    """The commands of a row's split step, each an argument list and the
    file its standard output goes to (None: the log)."""
    row = ROWS[wildcards.row]
    folder = split_dir(wildcards.row)
    if row["alignments"]:
        return [{"argv": [tool("aliconv"), row["alignments"], "--split", folder], "stdout": None}]
    if config["aligner"] == "mumfind":
        argv = [tool("mumfind"), *config["mumfind_options"], "--split", folder, row["reference"], row["query"]]
        return [{"argv": argv, "stdout": None}]
    aligned = aligned_input(wildcards.row)
    return [
        {"argv": [tool(config["aligner"]), *config["aligner_options"], row["reference"], row["query"]],
         "stdout": aligned},
        {"argv": [tool("aliconv"), aligned, "--split", folder], "stdout": None},
    ]


def row_outputs(wildcards):
    """What a row's summary reads: the split status and, when the split
    succeeded, every pair's index entry, report, plots and picked file, in
    the order of split/pairs.tsv."""
    row = wildcards.row
    inputs = {"status": split_status(row)}
    if not row_succeeded(row):
        return inputs
    stems = [pair_stem(pair) for pair in row_pairs(row)]
    folder = row_dir(row)
    inputs["index"] = f"{split_dir(row)}/pairs.tsv"
    inputs["reports"] = [f"{folder}/chains/{stem}.gff.chainout" for stem in stems]
    inputs["svgs"] = [f"{folder}/plots/{stem}.svg" for stem in stems]
    inputs["htmls"] = [f"{folder}/plots/{stem}.html" for stem in stems]
    if aligned_input(row):
        inputs["picked"] = [f"{folder}/picked/{stem}.{picked_suffix(row)}" for stem in stems]
    return inputs
