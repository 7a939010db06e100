#!/usr/bin/env python3
"""Checks a plot of aliplot against the chain report it was drawn with.

usage: plot_checks.py svg PLOT.svg REPORT      the SVG parses as XML and holds
                                               one element per chain member, in
                                               the chain's colour
       plot_checks.py dom DOM.html REPORT      the page, as the browser left it
                                               after its scripts ran, holds one
                                               member element per chain member,
                                               and its script and self-test ran
       plot_checks.py size PLOT.svg            prints the picture's "WIDTH,HEIGHT"
"""
import sys
import xml.etree.ElementTree as ET
from html.parser import HTMLParser

SVG = "{http://www.w3.org/2000/svg}"
# The colours of the first forward and first mirrored chain.
COLOURS = ["#0072b2", "#d55e00"]


def report_members(path):
    """The member numbers of each report in the file, in order."""
    reports, current = [], None
    for line in open(path, encoding="utf-8", errors="replace"):
        line = line.rstrip("\r\n")
        if line == "##Used alignments:":
            current = []
        elif current is not None and line == "##":
            reports.append(current)
            current = None
        elif current is not None:
            current += [int(word) for word in line[2:].split()]
    return reports


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check_svg(svg_path, report_path):
    root = ET.parse(svg_path).getroot()  # raises on XML that is not well formed
    plot = next(e for e in root.iter(SVG + "svg") if e.get("id") == "plot")
    reports = report_members(report_path)
    for index, members in enumerate(reports):
        colour = COLOURS[index]
        group = next(e for e in plot.iter(SVG + "g") if e.get("id") == "chain-%d" % (index + 1))
        drawn = []
        for element in plot.iter():
            if element.tag == SVG + "g":
                continue
            stroke = element.get("stroke") or (group.get("stroke") if element in list(group) else None)
            if stroke == colour:
                if element.get("data-n") is None:
                    fail("an element in %s that is no member: %s" % (colour, ET.tostring(element)[:80]))
                drawn.append(int(element.get("data-n")))
        if sorted(drawn) != sorted(members):
            fail("chain %d: members %s drawn in %s, the report has %s" % (index + 1, drawn[:20], colour, members[:20]))
        print("chain %d: %d members, each one element in %s" % (index + 1, len(drawn), colour))


class MemberCounter(HTMLParser):
    def __init__(self):
        super().__init__()
        self.groups = []  # ids of the open g elements
        self.members = {}
        self.body = {}

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "body":
            self.body = attrs
        if tag == "g":
            self.groups.append(attrs.get("id", ""))
        elif "data-n" in attrs:
            chain = next((g for g in reversed(self.groups) if g.startswith("chain-")), None)
            if chain:
                self.members[chain] = self.members.get(chain, 0) + 1

    def handle_endtag(self, tag):
        if tag == "g" and self.groups:
            self.groups.pop()


def check_dom(dom_path, report_path):
    counter = MemberCounter()
    counter.feed(open(dom_path, encoding="utf-8").read())
    if counter.body.get("data-ready") != "yes":
        fail("the page's script did not run to its end")
    if counter.body.get("data-selftest", "pass") != "pass":
        fail("the page's self-test: " + counter.body["data-selftest"])
    for index, members in enumerate(report_members(report_path)):
        drawn = counter.members.get("chain-%d" % (index + 1), 0)
        if drawn != len(members):
            fail("chain %d: %d member elements in the page, %d in the report" % (index + 1, drawn, len(members)))
        print("chain %d: %d member elements in the page's DOM, as in the report" % (index + 1, drawn))


def main():
    mode = sys.argv[1]
    if mode == "svg":
        check_svg(sys.argv[2], sys.argv[3])
    elif mode == "dom":
        check_dom(sys.argv[2], sys.argv[3])
    elif mode == "size":
        root = ET.parse(sys.argv[2]).getroot()
        print("%s,%s" % (root.get("width"), root.get("height")))


if __name__ == "__main__":
    main()
