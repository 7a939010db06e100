"""The sample sheet: a tab-separated file whose header names its columns
(schemas/sheet.schema.yaml), one row per comparison."""

import jsonschema
import yaml


class SheetError(ValueError):
    """A fault of the sheet, its message starting with FILE:LINE."""


def load_schema(path):
    with open(path) as handle:
        return yaml.safe_load(handle)


def read_lines(sheet):
    try:
        with open(sheet) as handle:
            return [line.rstrip("\r\n").split("\t") for line in handle]
    except OSError as error:
        raise SheetError(f"cannot read the sample sheet {sheet}: {error.strerror}")


def check_header(sheet, header, schema):
    known, required = schema["properties"], schema["required"]
    unknown = [column for column in header if column not in known]
    missing = [column for column in required if column not in header]
    if unknown or missing or len(set(header)) != len(header):
        raise SheetError(f"{sheet}:1: the header must name the columns {', '.join(required)}, "
                         f"and may add {', '.join(c for c in known if c not in required)}, each once")


def check_row(sheet, number, row, validator):
    for error in validator.iter_errors(row):
        where = f"column {error.path[0]}: " if error.path else ""
        raise SheetError(f"{sheet}:{number}: {where}{error.message}")
    has_fasta = bool(row["reference"]) and bool(row["query"])
    if has_fasta == bool(row["alignments"]) or (not has_fasta and (row["reference"] or row["query"])):
        raise SheetError(f"{sheet}:{number}: give either a reference and a query FASTA file or an alignment file")
    if row["alignments"] and (row["aligner"] or row["aligner_options"]):
        raise SheetError(f"{sheet}:{number}: an aligner is for FASTA files; the row gives an alignment file")


def with_defaults(row, schema):
    for column, rules in schema["properties"].items():
        row.setdefault(column, rules.get("default", ""))
    return row


def read_sheet(sheet, schema):
    """The rows in their order, by name, each a dict of every column of the
    schema (absent optional columns take their defaults)."""
    lines = read_lines(sheet)
    if not lines:
        raise SheetError(f"{sheet}:1: the sheet is empty")
    header = lines[0]
    check_header(sheet, header, schema)
    validator = jsonschema.Draft7Validator(schema)
    rows = {}
    for number, fields in enumerate(lines[1:], start=2):
        if not "".join(fields).strip() or fields[0].startswith("#"):
            continue
        if len(fields) != len(header):
            raise SheetError(f"{sheet}:{number}: {len(fields)} columns, the header names {len(header)}")
        row = with_defaults(dict(zip(header, (field.strip() for field in fields))), schema)
        check_row(sheet, number, row, validator)
        if row["name"] in rows:
            raise SheetError(f"{sheet}:{number}: the name '{row['name']}' is used twice")
        rows[row["name"]] = row
    if not rows:
        raise SheetError(f"{sheet}:{len(lines)}: the sheet names no pairs")
    return rows
