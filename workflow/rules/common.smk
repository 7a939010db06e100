# The sample sheet, where our programs are found, and where every file of a
# row lands. Rows are named in the sheet; a row's sequence pairs are known
# only after its split step has run (a checkpoint), from its pairs.tsv.

import getpass
import os
import re
import shlex
import shutil
import sys

import yaml

from snakemake.exceptions import WorkflowError
from snakemake.utils import validate

sys.path.insert(0, os.path.join(workflow.basedir, "scripts"))
import aligners
from sheet import SheetError, load_schema, read_sheet
from tsv import read_table

validate(config, os.path.join(workflow.basedir, "schemas", "config.schema.yaml"))

# Snakemake's SLURM support names the user to sacct and sacctmgr from the
# USER variable, which cron, containers and some batch systems leave unset.
os.environ.setdefault("USER", getpass.getuser())

try:
    ROWS = read_sheet(config["sheet"], load_schema(os.path.join(workflow.basedir, "schemas", "sheet.schema.yaml")))
except SheetError as error:
    raise WorkflowError(str(error))


def bin_folder():
    """Where our programs are looked for before the PATH: the setting
    bin_dir (from the working folder; empty: nowhere), else the folder that
    programs.yaml names beside the workflow."""
    if "bin_dir" in config:
        return config["bin_dir"] or ""
    with open(os.path.join(workflow.basedir, "programs.yaml")) as handle:
        return os.path.join(workflow.basedir, yaml.safe_load(handle)["bin_dir"])


def tool(name):
    """The program NAME: from bin_folder() (as BIN/NAME/NAME in a CMake
    build folder, or BIN/NAME in an installed bin folder), else the PATH."""
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


def row_aligner(row):
    """The aligner of a FASTA row and its options: the row's own, else the
    configured one."""
    aligner = ROWS[row]["aligner"] or config["aligner"]
    if ROWS[row]["aligner_options"]:
        options = shlex.split(ROWS[row]["aligner_options"])
    elif aligner == "mumfind":
        options = config["mumfind_options"]
    else:
        options = config["aligner_options"] if aligner == config["aligner"] else []
    return aligner, options


def aligned_input(row):
    """The alignment file whose records the chains are picked from: the
    sheet's, or the aligner's output for a FASTA row; None with mumfind."""
    if ROWS[row]["alignments"]:
        return ROWS[row]["alignments"]
    return aligners.aligned_file(row_aligner(row)[0], split_dir(row), config["aligner_suffix"])


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


def empty_message(wildcards):
    if ROWS[wildcards.row]["alignments"]:
        return "the input holds no alignment"
    return f"{row_aligner(wildcards.row)[0]} found no alignment"


def derived_folders(wildcards):
    """The folders of a row's files made from its split (results and logs)."""
    kinds = ("chains", "plots", "picked", "synteny")
    return [f"{top}/{wildcards.row}/{kind}" for top in ("results", "logs") for kind in kinds]


def split_steps(wildcards, threads):
    """The commands of a row's split step on THREADS threads (see
    scripts/aligners.py)."""
    row = ROWS[wildcards.row]
    folder = split_dir(wildcards.row)
    if row["alignments"]:
        return [{"argv": [tool("aliconv"), row["alignments"], "--split", folder], "stdout": None}]
    aligner, options = row_aligner(wildcards.row)
    return aligners.split_steps(aligner, options, tool, row["reference"], row["query"], folder,
                                config["aligner_suffix"], threads)


def split_threads(wildcards):
    if ROWS[wildcards.row]["alignments"]:
        return 1
    return aligners.threads(row_aligner(wildcards.row)[0])


def synteny_prefix(row):
    return f"{row_dir(row)}/synteny/{row}"


def synteny_joined(row):
    """Whether alisyn reads the row's pair files joined (mumfind rows,
    whose split writes no alignment file of the whole row)."""
    return aligned_input(row) is None


def synteny_input(wildcards):
    """What alisyn reads: the row's alignment file, or the index of its pair
    files (written with them)."""
    row = wildcards.row
    if synteny_joined(row):
        return f"{split_dir(row)}/pairs.tsv"
    return aligned_input(row)


def row_outputs(wildcards):
    """What a row's summary reads: the split status and, when the split
    succeeded, every pair's index entry, report, plots and picked file, in
    the order of split/pairs.tsv, and the row's synteny tables."""
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
    inputs["synteny"] = f"{synteny_prefix(row)}.pairs.tsv"
    inputs["blocks"] = f"{synteny_prefix(row)}.blocks.tsv"
    inputs["synteny_log"] = f"logs/{row}/synteny/alisyn.log"
    if aligned_input(row):
        inputs["picked"] = [f"{folder}/picked/{stem}.{picked_suffix(row)}" for stem in stems]
    return inputs
