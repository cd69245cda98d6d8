#pragma once
// Clears the board at the end of a level or a life: every ball first rests
// and scales out, then, once no ball is busy, dies.
class IBonusDataSource;

class CBallsExploder {
public:
    // `source` (the field) outlives the exploder.
    explicit CBallsExploder(IBonusDataSource* source) : _source(source) {}

    void Start();
    // False while a ball is busy; then every ball is killed.
    bool Finish();

private:
    IBonusDataSource* _source;
};
