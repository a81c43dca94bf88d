#!/usr/bin/env python3
"""Validates what zelk-cli show --json prints, and the README's example, against the published schema, and
checks that the schema refuses documents import refuses. Usage: check-schema.py ZELK_CLI SCHEMA FILE..."""
import json
import subprocess
import sys

import jsonschema

cli, schema_path, profiles = sys.argv[1], sys.argv[2], sys.argv[3:]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
jsonschema.Draft7Validator.check_schema(schema)
validator = jsonschema.Draft7Validator(schema)
failures = 0

def document_of(path):
    """show --json of a profile; the example under "Profiles as code" of a README."""
    if path.endswith(".md"):
        with open(path, encoding="utf-8") as f:
            text = f.read()
        start = text.index("```json\n", text.index("Profiles as code")) + len("```json\n")
        return json.loads(text[start:text.index("```", start)])
    shown = subprocess.run([cli, "show", "--json", path], capture_output=True, check=True)
    return json.loads(shown.stdout)


for profile in profiles:
    errors = list(validator.iter_errors(document_of(profile)))
    for error in errors[:3]:
        print(f"{profile}: {'/'.join(map(str, error.path))}: {error.message}")
    failures += bool(errors)

refused = [
    {"keys": [{"key": 88}]},
    {"keys": [{"key": 1, "levels": [{"kind": "macor"}]}]},
    {"keys": [{"key": 1, "levels": [{"kind": "multimedia"}]}]},
    {"keys": [{"key": 1, "levels": [{"kind": "combo"}]}]},
    {"keys": [{"key": 1, "colour": {"red": 300, "green": 0, "blue": 0}}]},
    {"keys": [{"key": 1, "colour": "#ff00"}]},
    {"keys": [{"key": 1, "levels": [{"kind": "macro", "items": ["A"], "cycles": 256}]}]},
    {"keys": [{"key": 1, "levls": []}]},
    {"format": 2},
]
for document in refused:
    if validator.is_valid(document):
        print(f"the schema takes {json.dumps(document)}, which import refuses")
        failures += 1

print(f"{len(profiles)} profiles valid, {len(refused)} faulty documents refused" if failures == 0 else "failed")
sys.exit(1 if failures else 0)
