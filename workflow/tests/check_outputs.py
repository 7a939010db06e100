"""Checks the files that the workflow's summary names: every report, plot,
picked file, blocks table and chain file of a good pair exists, the SVG
plots parse as XML, each picked
file converts back (aliconv) to as many alignments as the chain has members,
every link and picture of index.html leads to an existing file, each pair
shows its plot, and the heading counts the pairs and rows shown.
Usage: check_outputs.py SUMMARY.tsv INDEX.html ALICONV"""

import csv
import html.parser
import os
import subprocess
import sys
import urllib.parse
import xml.etree.ElementTree


class Links(html.parser.HTMLParser):
    """The page's link targets and pictures, and its heading."""

    def __init__(self):
        super().__init__()
        self.targets = []
        self.pictures = []
        self.heading = ""
        self.in_heading = False

    def handle_starttag(self, tag, attributes):
        if tag == "a":
            self.targets.extend(value for name, value in attributes if name == "href")
        elif tag == "img":
            self.pictures.extend(value for name, value in attributes if name == "src")
        self.in_heading = tag == "h1"

    def handle_endtag(self, tag):
        self.in_heading = False

    def handle_data(self, data):
        if self.in_heading:
            self.heading += data


def converted_alignments(aliconv, path):
    result = subprocess.run([aliconv, path], capture_output=True, text=True)
    if result.returncode != 0:
        return f"aliconv failed: {result.stderr.strip()}"
    return sum(1 for line in result.stdout.splitlines()
               if not line.startswith("#") and line.split("\t")[2:3] == ["alignment"])


def check_pair(row, aliconv):
    problems = []
    for column in ("report", "svg", "html", "blocks", "chain"):
        if row[column] and not os.path.getsize(row[column]):
            problems.append(f"{row[column]} is empty")
    xml.etree.ElementTree.parse(row["svg"])
    if row["picked"]:
        picked = converted_alignments(aliconv, row["picked"])
        if picked != int(row["chain_members"]):
            problems.append(f"{row['picked']}: {picked} alignments, the chain has {row['chain_members']}")
    return problems


def main(summary, index, aliconv):
    problems = []
    with open(summary, newline="") as handle:
        rows = list(csv.DictReader(handle, delimiter="\t", quoting=csv.QUOTE_NONE))
    for row in rows:
        if row["status"] == "ok":
            try:
                problems.extend(check_pair(row, aliconv))
            except (OSError, xml.etree.ElementTree.ParseError) as error:
                problems.append(str(error))
    links = Links()
    with open(index) as handle:
        links.feed(handle.read())
    folder = os.path.dirname(index)
    missing = [target for target in links.targets + links.pictures
               if not os.path.isfile(os.path.join(folder, urllib.parse.unquote(target)))]
    problems.extend(f"index.html links to a missing {target}" for target in missing)
    good = [row for row in rows if row["status"] == "ok"]
    # Each good pair links its report, two plots (one of them also from its
    # thumbnail), its row's blocks table and the log, plus its picked file
    # and its row's chain file where there are such.
    expected_links = len(rows) + sum(5 + bool(row["picked"]) + bool(row["chain"]) for row in good)
    if len(links.targets) != expected_links:
        problems.append(f"index.html has {len(links.targets)} links, expected {expected_links} for {len(good)} pairs")
    thumbnails = [os.path.relpath(row["svg"], folder) for row in good]
    if [urllib.parse.unquote(picture) for picture in links.pictures] != thumbnails:
        problems.append(f"index.html shows the pictures {links.pictures}, expected {thumbnails}")
    heading = f"Chains of {len(good)} sequence pair{'' if len(good) == 1 else 's'} from " \
        f"{len({row['name'] for row in rows})} sheet rows"
    if links.heading != heading:
        problems.append(f"index.html's heading is '{links.heading}', expected '{heading}'")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
