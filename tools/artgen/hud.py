def build(add, pal):
    pass
