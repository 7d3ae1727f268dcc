# The two commands of the project; both set a fresh machine up first.
.PHONY: demo test build

demo:
	scripts/demo

test:
	scripts/test

build:
	scripts/bootstrap
	scripts/build
