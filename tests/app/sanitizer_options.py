"""Options for the sanitizer build's runtime, where a test run needs them."""


def without_leak_check(environment):
    """The environment with the leak check of a sanitizer build turned off;
    other builds ignore it."""
    options = ":".join(filter(None, [environment.get("ASAN_OPTIONS"), "detect_leaks=0"]))
    return {**environment, "ASAN_OPTIONS": options}
